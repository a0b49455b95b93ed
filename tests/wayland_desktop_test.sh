#!/bin/bash
# Runs the real program natively on Wayland under a desktop's own compositor, nested in a private X server:
# wayland_desktop_test.sh kwin|mutter PROGRAM. With the keyboard it opens the about window; in a second run it
# ticks "Po startu minimalizovat" and starts a call with Alt+S. It reads from the protocol log that:
# - the main window minimizes at Start and stays so (nothing asks the compositor to activate it afterwards,
#   and it never gets the keyboard back), while its title goes on;
# - every window is just its contents and a title bar of its own, or a frame that the compositor draws: never
#   Qt's own frame, which offers minimize and maximize on every window; where the compositor offers to draw
#   the frames, it draws every window's.
# A compositor that cannot start here is reported, and the test skipped (status 77).
set -euo pipefail
compositor=$1
program=$2
name=wayland_desktop_$compositor

fail() {
    echo "$name: $1" >&2
    exit 1
}
skip() {
    echo "$name: skipped: $1" >&2
    exit 77
}

binary=$([[ $compositor == kwin ]] && echo kwin_wayland || echo mutter)
for tool in "$binary" Xvfb xdotool dbus-run-session setsid; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done

pids=()
groups=()
runtime=$(mktemp -d)
end_all() {
    local group
    for group in "${groups[@]}"; do kill -- "-$group" 2>/dev/null || true; done
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap end_all EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS

source "$(dirname "$0")/x_session.sh"
x_session_name=$name
start_x_server

# Each compositor runs in a process group of its own, with a session bus of its own.
if [[ $compositor == kwin ]]; then
    # kwin_wayland carries the file capability cap_sys_resource, which a container may not grant: exec then
    # fails with "Operation not permitted". A copy carries none.
    cp "$(command -v kwin_wayland)" "$runtime/kwin_wayland"
    setsid dbus-run-session -- "$runtime/kwin_wayland" --x11-display "$DISPLAY" --width 1280 --height 1024 \
        --socket wayland-test --no-lockscreen >"$runtime/compositor.log" 2>&1 </dev/null &
else
    MUTTER_DEBUG_DUMMY_MODE_SPECS=1280x1024 setsid dbus-run-session -- mutter --nested --wayland --no-x11 \
        --wayland-display wayland-test >"$runtime/compositor.log" 2>&1 </dev/null &
fi
groups+=($!)
compositor_ready() { [[ -S $runtime/wayland-test ]] && kill -0 "${groups[0]}" 2>/dev/null; }
compositor_gone() { ! kill -0 "${groups[0]}" 2>/dev/null; }
compositor_settled() { [[ -S $runtime/wayland-test ]] || compositor_gone; }
wait_until 30 compositor_settled
compositor_ready || skip "$binary did not start here: $(tail -n 3 "$runtime/compositor.log" | tr '\n' ' ')"
# Keys typed into the X server reach the compositor's window under the pointer.
xdotool mousemove 640 512

# The program's protocol log of this run; each run starts the program afresh.
run=0
start_program() {
    ((++run))
    protocol=$runtime/protocol-$run.log
    WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 \
        setsid "$program" 2>"$protocol" </dev/null &
    groups+=($!)
}

# Objects are logged as xdg_toplevel@14 by the Wayland library of Debian 12, as xdg_toplevel#14 by later ones.
titles() { sed -n 's/.*-> xdg_toplevel[@#][0-9]*\.set_title("\(.*\)")$/\1/p' "$protocol"; }
titled() { titles | grep -qx "$1"; }
has_keyboard() { [[ $(grep -oE 'wl_keyboard[@#][0-9]+\.(enter|leave)' "$protocol" | tail -n 1) == *enter ]]; }
two_windows() { (($(grep -c -- '-> xdg_surface[@#][0-9]*\.get_toplevel' "$protocol") >= 2)); }
wait_for() { # seconds, what, command...
    local seconds=$1 what=$2
    shift 2
    wait_until "$seconds" "$@" && return
    compositor_gone && skip "$binary ended: $(tail -n 3 "$runtime/compositor.log" | tr '\n' ' ')"
    fail "$what; the titles were: $(titles | sed 's/.*/"&"/' | paste -sd ' ')"
}
started() {
    wait_for 20 "the main window never had the keyboard" has_keyboard
    wait_for 10 "the main window never showed its running title" titled "0:0:0 = 0 Kč"
}

# The about window, opened from the menu.
start_program
started
xdotool key --clearmodifiers alt+o
wait_for 10 "the about window never opened" two_windows
wait_for 10 "the about window never showed" grep -q -- '-> xdg_surface[@#][0-9]*\.set_window_geometry' "$protocol"
kill -- "-${groups[-1]}"

start_program
started
# The focus is on Start; two Tabs bring it to the minimize option, whose focus hand-over at Start used to
# have Qt ask for the window's activation after its minimize.
xdotool key --clearmodifiers Tab Tab space alt+s
wait_for 10 "Start did not minimize the window" grep -q -- '-> xdg_toplevel[@#][0-9]*\.set_minimized' "$protocol"
wait_for 10 "the call's title did not go on" titled "0:0:3 = 2,4 Kč"
after_minimize=$(sed -n '/-> xdg_toplevel[@#][0-9]*\.set_minimized/,$p' "$protocol")
! grep -q 'xdg_activation_v1[@#][0-9]*\.activate(' <<<"$after_minimize" ||
    fail "after minimizing the window the program asked to activate it: $(grep 'activate(' <<<"$after_minimize")"
! grep -qE 'wl_keyboard[@#][0-9]+\.enter' <<<"$after_minimize" || fail "the minimized window came back"

# A window of fixed size: what it shows (set_window_geometry) is exactly its size (set_max_size), with no
# frame of Qt's own around it.
sizes=$(sed -n 's/.*-> xdg_toplevel[@#][0-9]*\.set_max_size(\([0-9]*\), \([0-9]*\))$/\1x\2/p' "$runtime"/protocol-*.log | sort -u)
shown=$(sed -n 's/.*-> xdg_surface[@#][0-9]*\.set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\))$/\1x\2/p' "$runtime"/protocol-*.log | sort -u)
[[ -n $shown ]] || fail "no window showed"
for size in $shown; do
    grep -qx "$size" <<<"$sizes" || fail "a window of size $(paste -sd ' ' <<<"$sizes") shows as $size: Qt framed it"
done
# A compositor that offers to draw the frames (KWin) draws every window's: each asks it for one, and so wears no
# title bar of the program's own.
for log in "$runtime"/protocol-*.log; do
    grep -q 'global([0-9]*, "zxdg_decoration_manager_v1"' "$log" || continue
    toplevels=$(grep -c -- '-> xdg_surface[@#][0-9]*\.get_toplevel(' "$log")
    framed=$(grep -c -- '-> zxdg_decoration_manager_v1[@#][0-9]*\.get_toplevel_decoration(' "$log" || true)
    ((framed == toplevels)) ||
        fail "$binary offers to draw the frames, yet $((toplevels - framed)) of $toplevels windows do without"
done
echo "$name: minimized at Start and stayed so; titles up to \"$(titles | tail -n 1)\"; windows shown as $(paste -sd ' ' <<<"$shown")"
