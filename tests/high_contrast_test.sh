#!/bin/bash
# The real program in a GNOME session as the desktop's high contrast is turned on and off again while its
# windows are open: on a private X server, a session bus of its own that starts GNOME's settings portal, its
# GTK backend and dconf as a GNOME session does, and a home of its own. Each open window takes the white face
# of high contrast, and its own silver back, within a few seconds of `gsettings set`.
#
#   high_contrast_test.sh ZELVOR
set -euo pipefail
zelvor=$1
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"
source "$here/session_bus.sh"

private_home
unset XDG_CONFIG_HOME XDG_DATA_HOME GSETTINGS_BACKEND
for portal in xdg-desktop-portal xdg-desktop-portal-gtk; do
    [[ -x /usr/libexec/$portal ]] || x_fail "$portal is missing (scripts/setup installs it)"
done
command -v gsettings >/dev/null || x_fail "gsettings is missing (scripts/setup installs libglib2.0-bin)"
start_x_session high_contrast import dbus-send
export XDG_CURRENT_DESKTOP=GNOME
start_session_bus "$work" ca.desrt.dconf org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk \
    org.freedesktop.impl.portal.PermissionStore
key=(org.gnome.desktop.a11y.interface high-contrast)
gsettings set "${key[@]}" false
# As in a desktop session, the portal runs before the program starts: on a busy machine, starting it and its
# backend can take longer than the program's window is given to show.
dbus-send --session --print-reply --reply-timeout=60000 --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.portal.Settings.Read string:"${key[0]}" string:"${key[1]}" \
    >/dev/null || x_fail "GNOME's settings portal did not answer"

start_program "$zelvor"
keys_to "$main" alt+o
about=$(find_window 20 --all --onlyvisible --pid "$pid" --name '^Něco o\.\.\.$') || x_fail "the about window did not show"

# The colour of the face in the window's bottom left corner, where neither window draws anything on it.
face() {
    import -window "$1" png:- 2>/dev/null | convert - -gravity SouthWest -crop 1x1+2+2 -depth 8 txt:- |
        sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'
}
faces_are() { [[ $(face "$main") == "$1" && $(face "$about") == "$1" ]]; }

faces_are '#C0C0C0' || x_fail "the windows' own face is $(face "$main") and $(face "$about"), not silver"
for turn in true false; do
    expected='#FFFFFF'
    [[ $turn == true ]] || expected='#C0C0C0'
    started=$(now_us)
    gsettings set "${key[@]}" "$turn"
    wait_until 5 faces_are "$expected" ||
        x_fail "high contrast $turn: the faces are $(face "$main") and $(face "$about") 5 s on, not $expected"
    echo "high_contrast: high contrast $turn reached both windows in $((($(now_us) - started) / 1000)) ms"
done
