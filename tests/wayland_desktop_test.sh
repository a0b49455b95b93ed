#!/bin/bash
# Runs the real program natively on Wayland under a desktop's own compositor, nested in a private X server:
# wayland_desktop_test.sh kwin|mutter PROGRAM. With the keyboard it opens the about window; in a second run it
# ticks "Po startu minimalizovat" and starts a call with Alt+S. It reads from the protocol log that:
# - the main window minimizes at Start and stays so (nothing asks the compositor to activate it afterwards,
#   and it never gets the keyboard back), while its title goes on;
# - every window is just its contents and a title bar of its own, or a frame that the compositor draws: never
#   Qt's own frame, which offers minimize and maximize on every window; where the compositor offers to draw
#   the frames, it draws every window's.
# Under mutter, which leaves the frame to the window, a third run tries the program's own title bar as a
# user would: its boxes on the sides that GNOME's button layout names, set before the start and changed while
# the program runs (`gsettings set`), and with the pointer, a box changing under it (the screen before and
# after), a right click asking for the window menu and a left drag asking to move the window (the protocol
# log).
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
for tool in "$binary" Xvfb xdotool dbus-run-session setsid gsettings import; do
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
    # GNOME's settings go to a dconf database of the test's own, on a session bus that starts dconf alone:
    # mutter centres new windows, so that the pointer can find the window's title bar, and the program reads
    # the title bar's button layout there, as the test sets it.
    export XDG_CONFIG_HOME=$runtime/config GSETTINGS_BACKEND=dconf
    source "$(dirname "$0")/session_bus.sh"
    start_session_bus "$runtime" ca.desrt.dconf
    gsettings set org.gnome.mutter center-new-windows true
    MUTTER_DEBUG_DUMMY_MODE_SPECS=1280x1024 setsid mutter --nested --wayland --no-x11 \
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
    : >"$protocol"
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
last_title=$(titles | tail -n 1)

# The main window's title bar, under the pointer, as GNOME's button layout asks. Mutter centres the window,
# whose size the protocol log tells; the bar runs along its top, inside a one-pixel outline, its boxes 22
# pixels wide and 6 apart, 6 from the bar's ends.
if [[ $compositor == mutter ]]; then
    layout() { gsettings set org.gnome.desktop.wm.preferences button-layout "$1"; }
    layout close,minimize:
    start_program
    started
    read -r width height < <(sed -n 's/.*-> xdg_surface[@#][0-9]*\.set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\))$/\1 \2/p' "$protocol" | tail -n 1)
    left=$(((1280 - width) / 2))
    top=$(((1024 - height) / 2))
    title_x=$((left + width / 3)) bar_y=$((top + 16))
    # The middles of the first box on the left and of the first and second on the right.
    first_left=$((left + 18)) first_right=$((left + width - 18)) second_right=$((left + width - 46))
    # A box's upper left quarter on the screen, clear of the pointer's arrow at its middle; and the same of
    # the bar where it is bare, between the icon and the title.
    screen() { import -window root -crop "$((width - 2))x30+$((left + 1))+$((top + 1))" "$runtime/bar.png"; }
    quarter() { convert "$runtime/bar.png" +repage -crop "8x8+$(($1 - 9 - left - 1))+6" rgb:- | md5sum; }
    box_there() { screen && [[ $(quarter "$1") != $(quarter $((left + 124))) ]]; }
    bare() { ! box_there "$1"; }
    wait_for 10 "the boxes did not go to the left as the layout set before start asks" bare "$first_right"
    box_there "$first_left" || fail "no box on the left, as the layout set before start asks"

    # Nested in Xvfb, mutter tells the window where the pointer is as it enters the window, not as it moves
    # within it: the pointer comes to each point from outside.
    enters() { grep -cE 'wl_pointer[@#][0-9]+\.enter\(' "$protocol"; }
    pointer_out() { [[ $(grep -oE 'wl_pointer[@#][0-9]+\.(enter|leave)' "$protocol" | tail -n 1) != *enter ]]; }
    point_at() { # x y
        xdotool mousemove "$((left - 40))" "$2"
        wait_for 10 "the pointer never left the window" pointer_out
        local entered
        entered=$(enters)
        xdotool mousemove "$1" "$2"
        wait_for 10 "the pointer never entered the window at $1,$2" eval '(($(enters) > entered))'
    }
    close_box() { screen && quarter "$first_left"; }
    point_at "$title_x" "$bar_y"
    away=$(close_box)
    point_at "$first_left" "$bar_y"
    wait_for 10 "the close box did not change under the pointer" eval '[[ $(close_box) != "$away" ]]'
    point_at "$title_x" "$bar_y"
    wait_for 10 "the close box did not change back once the pointer left it" eval '[[ $(close_box) == "$away" ]]'

    # GNOME's own layout, set while the program runs: close alone, on the right.
    layout appmenu:close
    wait_for 10 "the close box did not go to the right as the layout changed" box_there "$first_right"
    bare "$second_right" || fail "a box stayed beside the close box, where the changed layout has none"

    # Held until the compositor has been asked: a click quicker than the program's handling of the press
    # would bring it the release's serial, for which the compositor opens no menu.
    xdotool mousedown 3
    wait_for 10 "a right click on the title bar did not ask for the window menu" \
        grep -q -- '-> xdg_toplevel[@#][0-9]*\.show_window_menu(' "$protocol"
    xdotool mouseup 3
    xdotool mousedown 1 mousemove "$((title_x + 40))" "$((bar_y + 40))"
    wait_for 10 "a left drag on the title bar did not ask to move the window" \
        grep -q -- '-> xdg_toplevel[@#][0-9]*\.move(' "$protocol"
    xdotool mouseup 1
    kill -- "-${groups[-1]}"
fi

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
echo "$name: minimized at Start and stayed so; titles up to \"$last_title\"; windows shown as $(paste -sd ' ' <<<"$shown")"
