#!/bin/bash
# Another X client destroys the real program's windows, as `xdotool windowclose` does: a destroyed window
# counts as closed, the about window shows again from the menu, and once the last window is gone the program
# ends cleanly.
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
xdotool windowclose "$first"
second=$(about)
xdotool windowclose "$second"
xdotool windowclose "$main"
status=0
wait_for_exit "$pid" 10 || status=$?
((status != 124)) || x_fail "the program runs on with all its windows destroyed"
((status == 0)) || x_fail "the program ended with status $status"
