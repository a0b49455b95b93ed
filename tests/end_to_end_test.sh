#!/bin/bash
# Starts the real program on a private X server with a window manager, reads its title as the window system
# has it, presses Start through its access key and sees the call begin in the title.
set -euo pipefail
program=$1

source "$(dirname "$0")/x_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT

start_x_session end_to_end xset
# A held key repeats, as on a desktop.
xset r on

start_program "$program"

title() { window_title "$main"; }
titled() { [[ $(title) =~ $1 ]]; }
wait_for_title() { # pattern, seconds
    wait_until "$2" titled "$1" || x_fail "the title is \"$(title)\", not matching $1"
}

# An empty title at first (never the program's name in its place), then time and price.
first=$(title)
[[ -z $first || $first == "0:0:0 = 0 Kč" ]] || x_fail "the first title is \"$first\""
wait_for_title '^0:0:0 = 0 Kč$' 5
# Window managers that show a minimized window as an icon label it with its icon name, which follows the title.
icon_name() { LC_ALL=C.UTF-8 xprop -id "$main" WM_ICON_NAME 2>/dev/null | sed -n 's/^WM_ICON_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p'; }
named_as_titled() { [[ $(icon_name) == "$(title)" ]]; }
wait_until 5 named_as_titled || x_fail "the icon is named \"$(icon_name)\" under the title \"$(title)\""

width=$(xwininfo -id "$main" | sed -n 's/^ *Width: //p')
[[ $width == 449 ]] || x_fail "the window is $width pixels wide"

keys_to "$main" alt+s
started=$(date +%s%N)
wait_for_title '^0:0:[0-9]+ = 2,4 Kč$' 5
wait_for_title '^0:0:[2-9] = 2,4 Kč$' 10

# A process stopped for four seconds and continued has counted every second of the pause when it runs again:
# its title soon shows the true elapsed time, and never more.
elapsed_ms() { echo $((($(date +%s%N) - started) / 1000000)); }
shown() { title | sed -n 's/^0:0:\([0-9]*\) = .*/\1/p'; }
true_time_shown() {
    local seconds
    seconds=$(shown)
    [[ -n $seconds ]] && ((seconds * 1000 >= $(elapsed_ms) - 2000))
}
kill -STOP "$pid"
sleep 4
kill -CONT "$pid" || x_fail "the program ended while it was stopped"
wait_until 3 true_time_shown || x_fail "after a pause the title reads \"$(title)\" at $(elapsed_ms) ms into the call"
seconds=$(shown)
true_elapsed=$(elapsed_ms)
((seconds * 1000 <= true_elapsed)) || x_fail "after a pause the title reads \"$(title)\" at $true_elapsed ms into the call"
echo "end_to_end: the call runs: $(title) at $true_elapsed ms"

# Stop shows the bill, and the bill's button ends the program, which exits cleanly (a sanitizer build
# reports its leaks here). Enter is held on Stop until the bill has had the focus for a second: the key's
# repeats reach the bill's button, which acts only on a press that began there.
keys_to "$main" Tab
xdotool keydown Return
gone() { ! ended "$pid" || echo ", and the program has ended"; }
bill=$(find_window 10 --all --onlyvisible --pid "$pid" --name '^Vyúčtování $') || x_fail "Stop showed no bill$(gone)"
focus_window "$bill" || x_fail "the bill never got the keyboard focus$(gone)"
sleep 1
xdotool keyup Return
! ended "$pid" || x_fail "Enter held on Stop pressed the bill's button too"
keys_to "$bill" space
status=0
wait_for_exit "$pid" 10 || status=$?
((status != 124)) || x_fail "the bill's button did not end the program"
((status == 0)) || x_fail "the program ended with status $status"
