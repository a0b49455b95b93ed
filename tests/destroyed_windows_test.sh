#!/bin/bash
# Another X client destroys the real program's windows, as `xdotool windowclose` does: a destroyed window
# counts as closed, the about window shows again from the menu, and once the last window is gone the program
# ends cleanly. A minimized about window can be reached from the task bar.
set -euo pipefail
program=$1

source "$(dirname "$0")/x_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT
start_x_session destroyed_windows

start_program "$program"
about() { # shows the about window from the menu and prints its id
    keys_to "$main" alt+o
    find_window 10 --all --onlyvisible --pid "$pid" --name '^Něco o\.\.\.$' ||
        x_fail "\"Něco o...\" showed no about window"
}

first=$(about)
# The about window, kept out of the task bar, is offered no minimize box, but a window manager may minimize it
# all the same: then it is in the task bar until it is shown again.
states() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
out_of_task_bar() { states "$1" | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
minimized_in_task_bar() { states "$1" | grep -q _NET_WM_STATE_HIDDEN && ! out_of_task_bar "$1"; }
xdotool windowminimize "$first"
wait_until 10 minimized_in_task_bar "$first" || x_fail "the minimized about window is not in the task bar: $(states "$first")"
focus_window "$first" || x_fail "the minimized about window never came back"
wait_until 10 out_of_task_bar "$first" || x_fail "the about window shown again is in the task bar"
xdotool windowclose "$first"
second=$(about)
xdotool windowclose "$second"
xdotool windowclose "$main"
status=0
wait_for_exit "$pid" 10 || status=$?
((status != 124)) || x_fail "the program runs on with all its windows destroyed"
((status == 0)) || x_fail "the program ended with status $status"
