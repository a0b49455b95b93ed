#!/bin/bash
# Hammers the real program on a private X server: random clicks on its buttons, check boxes and anywhere
# else in its windows, its access keys, the about window opened and closed, bursts without a pause, and
# the process stopped and continued at random. Nothing of this ends a call, so throughout the program must
# stay up and its title must show the true elapsed time and a price that never goes down. At the end Stop
# ends the program, which must exit cleanly.
#
# Usage: tests/hammer_test.sh PROGRAM [SECONDS [SEED]]   (20 seconds by default)
set -euo pipefail
program=$1
seconds=${2:-20}
seed=${3:-$$}
RANDOM=$seed
echo "hammer: seed $seed, $seconds s (rerun: $0 $program $seconds $seed)"

source "$(dirname "$0")/x_session.sh"
pids=()
output=$(mktemp)
trap 'kill -CONT "${pids[2]:-}" 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -f "$output"' EXIT
start_x_session hammer

LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 "$program" >"$output" 2>&1 &
pids+=($!)
pid=${pids[2]}

fail() {
    echo "hammer: $1" >&2
    tail -n 40 "$output" >&2
    exit 1
}
main=$(find_window 10 --onlyvisible --pid "$pid") || fail "the program's window did not appear"
now_ms() { echo $(($(now_us) / 1000)); }
title() { window_title "$main"; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the program is gone"; }
# The client area lies below the menu bar, at the bottom of the window.
menu_bar=$(($(xwininfo -id "$main" | sed -n 's/^ *Height: //p') - 216))
origin() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Absolute upper-left [XY]: *//p' | paste -sd ' '; }
# Stop's place on the screen. No click lands there, whatever window is on top by then: the about window lies
# over it, and a click aimed at the about window reaches Stop when the program closes that window (for a
# Konec still queued) between the aim and the click.
read -r left top < <(origin "$main")
on_stop() { # x, y on the screen
    (($1 >= left + 198 && $1 <= left + 307 && $2 >= top + menu_bar + 174 && $2 <= top + menu_bar + 203))
}

# The about window may close between finding it and acting on it; that is no failure.
key() { # window, keys...
    local window=$1
    shift
    focus_window "$window" || return 0
    xdotool key --clearmodifiers "$@" 2>/dev/null || true
}
click() { # window, x, y in its client area
    local window_left window_top
    read -r window_left window_top < <(origin "$1")
    [[ -n $window_top ]] || return 0
    ! on_stop $((window_left + $2)) $((window_top + $3)) || return 0
    focus_window "$1" || return 0
    xdotool mousemove --window "$1" "$2" "$3" click 1 2>/dev/null || true
}
about() { find_window 0 --all --onlyvisible --pid "$pid" --name '^Něco o\.\.\.$' || true; }

keys_to "$main" alt+s
started=$(now_ms)
running_since=$started
lowest=2.4

# The title follows the wall clock to the second, once the process has run for a while, and the price
# never goes down.
read_title() { # sets text, shown (seconds), price and true_ms
    text=$(title)
    [[ $text =~ ^([0-9]+):([0-9]+):([0-9]+)\ =\ ([0-9]+(,[0-9]+)?)\ Kč$ ]] || return 1
    shown=$((BASH_REMATCH[1] * 3600 + BASH_REMATCH[2] * 60 + BASH_REMATCH[3]))
    price=${BASH_REMATCH[4]/,/.}
    true_ms=$(($(now_ms) - started))
}
shows_true_time() { ((shown * 1000 >= true_ms - 2200 && shown * 1000 <= true_ms + 200)); }
on_time() { read_title && shows_true_time; }
check_title() {
    if ! read_title; then
        # A title that cannot be read is no empty title.
        xwininfo -id "$main" >/dev/null 2>&1 || fail "the main window is gone"
        fail "the title reads \"$text\""
    fi
    if (($(now_ms) - running_since > 1500)) && ! shows_true_time; then
        fail "the title reads \"$text\" $true_ms ms into the call"
    fi
    awk -v a="$price" -v b="$lowest" 'BEGIN { exit !(a + 0 >= b + 0) }' || fail "the price went down to $price from $lowest"
    lowest=$price
}

wait_until 5 read_title || fail "Start did not start the call: the title reads \"$text\""
deadline=$(($(now_ms) + seconds * 1000))
while (($(now_ms) < deadline)); do
    alive
    case $((RANDOM % 12)) in
    0) key "$main" alt+s ;;
    1) key "$main" alt+o ;;
    2) click "$main" $((144 + RANDOM % 56)) $((menu_bar + 177 + RANDOM % 23)) ;; # Start
    3) click "$main" $((169 + RANDOM % 15)) $((menu_bar + 51 + RANDOM % 11)) ;;  # Check1
    4) click "$main" $((409 + RANDOM % 15)) $((menu_bar + 51 + RANDOM % 11)) ;;  # Check2
    5) click "$main" $((RANDOM % 449)) $((menu_bar + RANDOM % 216)) ;; # anywhere in the client area
    6 | 7)
        window=$(about)
        if [[ -n $window ]]; then
            case $((RANDOM % 5)) in
            0) key "$window" alt+z ;;
            1) key "$window" alt+k ;;
            2) click "$window" $((66 + RANDOM % 77)) $((170 + RANDOM % 21)) ;; # Znovu
            3) click "$window" $((154 + RANDOM % 69)) $((170 + RANDOM % 21)) ;; # Konec
            4) click "$window" $((RANDOM % 290)) $((RANDOM % 200)) ;;
            esac
        fi
        ;;
    8) # a burst of access keys without a pause
        focus_window "$main" && xdotool key --clearmodifiers --delay 0 alt+s alt+o alt+s alt+s alt+o alt+s
        ;;
    9) # the process stopped for a while
        kill -STOP "$pid"
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
        ((RANDOM % 4)) || sleep 2
        kill -CONT "$pid"
        running_since=$(now_ms)
        ;;
    *) check_title ;;
    esac
done
alive
wait_until 5 on_time || fail "the title reads \"$text\" $true_ms ms into the call"
check_title
echo "hammer: the program stands, titled \"$(title)\""

# Stop ends the program, at once or (with the bill option checked, as the clicks left it) through the
# bill's button; either way it exits cleanly.
key "$main" alt+t
bill_or_end() { ended "$pid" || bill=$(find_window 0 --all --onlyvisible --pid "$pid" --name '^Vyúčtování $'); }
wait_until 10 bill_or_end || fail "Stop showed no bill and did not end the program"
ended "$pid" || key "$bill" space
status=0
wait_for_exit "$pid" 10 || status=$?
((status != 124)) || fail "Stop did not end the program"
((status == 0)) || fail "the program ended with status $status"
