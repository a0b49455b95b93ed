#!/bin/bash
# Starts the real program on a private X server with a window manager, reads its title as the window system
# has it, presses Start through its access key and sees the call begin in the title.
set -euo pipefail
program=$1

source "$(dirname "$0")/x_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT
start_x_session end_to_end 120 199 xdotool xprop xwininfo

LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 "$program" >/dev/null 2>&1 &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --pid "${pids[2]}" | head -n 1)

title() {
    xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

wait_for_title() { # pattern, seconds
    for _ in $(seq $(($2 * 10))); do
        [[ $(title) =~ $1 ]] && return 0
        sleep 0.1
    done
    echo "end_to_end: the title is \"$(title)\", not matching $1" >&2
    exit 1
}

# An empty title at first (never the program's name in its place), then time and price.
first=$(title)
if [[ -n $first && $first != "0:0:0 = 0 Kč" ]]; then
    echo "end_to_end: the first title is \"$first\"" >&2
    exit 1
fi
wait_for_title '^0:0:0 = 0 Kč$' 5

width=$(xwininfo -id "$window" | sed -n 's/^ *Width: //p')
[[ $width == 449 ]] || { echo "end_to_end: the window is $width pixels wide" >&2; exit 1; }

xdotool windowactivate --sync "$window"
xdotool key --clearmodifiers alt+s
started=$(date +%s%N)
wait_for_title '^0:0:[0-9]+ = 2,4 Kč$' 5
wait_for_title '^0:0:[2-9] = 2,4 Kč$' 10

# A process stopped and continued has counted every second of the pause when it runs again.
kill -STOP "${pids[2]}"
sleep 4
kill -CONT "${pids[2]}"
sleep 1.5
shown=$(title | sed -n 's/^0:0:\([0-9]*\) = .*/\1/p')
true_elapsed=$((($(date +%s%N) - started) / 1000000))
if [[ -z $shown ]] || ((shown * 1000 < true_elapsed - 2000 || shown * 1000 > true_elapsed)); then
    echo "end_to_end: after a pause the title reads \"$(title)\" at $true_elapsed ms into the call" >&2
    exit 1
fi
echo "end_to_end: the call runs: $(title) at $true_elapsed ms"

# Stop shows the bill, and the bill's button ends the program, which exits cleanly (a sanitizer build
# reports its leaks here).
xdotool windowactivate --sync "$window" key --clearmodifiers alt+t
bill=$(timeout 5 xdotool search --sync --onlyvisible --name 'Vyúčtování' | head -n 1) ||
    { echo "end_to_end: Stop showed no bill" >&2; exit 1; }
xdotool windowactivate --sync "$bill" key --clearmodifiers space
for _ in $(seq 100); do kill -0 "${pids[2]}" 2>/dev/null || break; sleep 0.1; done
kill -0 "${pids[2]}" 2>/dev/null && { echo "end_to_end: the bill's button did not end the program" >&2; exit 1; }
status=0
wait "${pids[2]}" || status=$?
((status == 0)) || { echo "end_to_end: the program ended with status $status" >&2; exit 1; }
