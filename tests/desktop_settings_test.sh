#!/bin/bash
# Runs desktop_settings_test in a home of its own, on a session bus of its own with dconf behind GSettings:
#
#   desktop_settings_test.sh fake TEST    with the test's own settings portals (fake_portal.py), which the
#                                         test starts and ends; the bus itself starts no portal
#   desktop_settings_test.sh gnome TEST   with GNOME's settings portal and its GTK backend, which the bus
#                                         starts as in a GNOME session, the backend on a private X server
set -euo pipefail
mode=$1
test=$2
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"
source "$here/session_bus.sh"

private_home
x_session_name=desktop_settings
unset XDG_CONFIG_HOME XDG_DATA_HOME
command -v gsettings >/dev/null || x_fail "gsettings is missing (scripts/setup installs libglib2.0-bin)"
[[ -x /usr/libexec/dconf-service ]] || x_fail "dconf is missing (scripts/setup installs dconf-gsettings-backend)"
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null || x_fail "python3-dbus or python3-gi is missing (scripts/setup installs them)"

services=(ca.desrt.dconf)
functions=(readsTheSourceThatAnswers takesALateAnswerAndFollowsItsChanges followsGSettingsWhereNoPortalIs)
if [[ $mode == gnome ]]; then
    for portal in xdg-desktop-portal xdg-desktop-portal-gtk; do
        [[ -x /usr/libexec/$portal ]] || x_fail "$portal is missing (scripts/setup installs it)"
    done
    start_x_server
    export XDG_CURRENT_DESKTOP=GNOME
    services+=(org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk
        org.freedesktop.impl.portal.PermissionStore)
    functions=(readsGnomesOwnPortal)
fi
start_session_bus "$work" "${services[@]}"
# The bus and what it starts read GSettings from dconf; the test reads only the defaults where it asks
# GNOME's portal, so that what it finds can only have come through the portal.
[[ $mode != gnome ]] || export GSETTINGS_BACKEND=memory
ZELVOR_FAKE_PORTAL=$here/fake_portal.py QT_QPA_PLATFORM=offscreen "$test" "${functions[@]}"
