#!/bin/bash
# What a blind user hears: the Orca screen reader runs on a private X server with a private session bus,
# accessibility bus and home, the real program is driven with keys only, and what Orca speaks is read from
# its debug log. A call runs ten times faster than the clock (faketime), from just before the light period
# ends, so that it meets a price step and a period switch within a minute; the about window's credits, the
# focus and flat review run at the clock's own pace.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"

if [[ ${2:-} != --session ]]; then
    root=$(mktemp -d)
    pids=()
    trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$root"' EXIT
    start_x_session orca dbus-run-session /usr/libexec/at-spi-bus-launcher
    [[ -x /usr/bin/orca ]] || x_fail "orca is missing (scripts/setup installs it)"
    # Orca runs once per user: this one has a home, settings and runtime folder of its own.
    export HOME=$root/home XDG_RUNTIME_DIR=$root/run XDG_CONFIG_HOME=$root/home/.config
    export XDG_DATA_HOME=$root/home/.local/share XDG_CACHE_HOME=$root/home/.cache
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    dbus-run-session -- bash "$0" "$program" --session
    exit
fi

x_session_name=orca
log=$XDG_RUNTIME_DIR/orca.log
pids=()
# Orca may take long to shut down; nothing of it is needed by then.
trap 'kill -KILL "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT

# Orca buffers its debug log; each line is flushed here as it is written. Orca refuses to start beside
# another of the same user, and names itself so that others find it: this one, on buses of its own, meets
# none of them and keeps its own name.
LANG=C.UTF-8 /usr/bin/python3 - "$log" >/dev/null 2>&1 <<'PY' &
import sys
sys.path.insert(0, '/usr/lib/python3/dist-packages')
from orca import debug
def flushing(write):
    def wrapped(*a, **k):
        write(*a, **k)
        if debug.debugFile:
            debug.debugFile.flush()
    return wrapped
for name in ('println', '_print_text'):  # Orca 43 writes through println, later ones through _print_text
    if hasattr(debug, name):
        setattr(debug, name, flushing(getattr(debug, name)))
sys.argv = ['/usr/bin/orca', '--debug-file=' + sys.argv[1]]
launcher = {'__name__': 'orca_launcher', '__file__': '/usr/bin/orca'}
with open('/usr/bin/orca') as source:
    exec(compile(source.read(), '/usr/bin/orca', 'exec'), launcher)
launcher['otherOrcas'] = lambda: []
launcher['setProcessName'] = lambda name: None
sys.exit(launcher['main']())
PY
pids+=($!)

# What Orca has spoken, one utterance a line; key echoes, which end with a blank, are left out.
spoken() {
    sed -n "s/^.*SPEECH OUTPUT: '\(.*\)' *[[{].*$/\1/p" "$log" 2>/dev/null | grep -v ' $' || true
}
mark() { spoken | wc -l; }
# Whether a line spoken after the mark matches the pattern (grep -E).
heard_since() { spoken | tail -n +$(($1 + 1)) | grep -qE "$2"; }
# Waits for a line after the mark that matches the pattern.
hear() { # mark pattern [seconds]
    wait_until "${3:-60}" heard_since "$1" "$2" ||
        x_fail "Orca did not say /$2/; it said: $(spoken | tail -n +$(($1 + 1)) | tr '\n' '|')"
}
fail_if_heard() { # mark pattern why
    ! heard_since "$1" "$2" || x_fail "$3: $(spoken | tail -n +$(($1 + 1)) | grep -E "$2" | head -n 1)"
}

hear 0 '^Screen reader on\.$'

run() { # [command prefix...]: starts the program as a Czech user, sets pid and main
    TZ=Europe/Prague LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 "$@" "$program" >/dev/null 2>&1 &
    pid=$!
    pids+=("$pid")
    main=$(find_window 30 --onlyvisible --pid "$pid") || x_fail "the program's window did not appear"
}

window_state_is() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q "$2"; }

# Flat review, line by line from the top of the active window: Orca+Home on the keypad, then the next line.
review() { # window lines
    keys_to "$1" Insert+KP_Home
    for _ in $(seq "$2"); do keys_to "$1" KP_Page_Up; done
}

# Starts the program, ticks "Po startu minimalizovat" from the keyboard and starts a call with Alt+S, which
# minimizes the window; m is the mark from just before Alt+S.
run_minimized() { # [command prefix...]
    m=$(mark)
    run "$@"
    hear "$m" '^Start (push )?button\.$'
    keys_to "$main" Tab Tab
    # The box is named by the label beside it, which Orca 48 reads at times with its colon, at times without.
    hear "$m" '^Po startu minimalizovat:? check box not checked\.$'
    m=$(mark)
    keys_to "$main" space
    hear "$m" '^checked$'
    m=$(mark)
    keys_to "$main" alt+s
    wait_until 10 window_state_is "$main" _NET_WM_STATE_HIDDEN || x_fail "Start did not minimize the window"
}

# A call: at Start the price and the period, then only each new price and period, never the seconds.
m=$(mark)
faketime=$(find /usr/lib -path '*/faketime/libfaketime.so.1' -print -quit)
[[ -n $faketime ]] || x_fail "libfaketime is missing (scripts/setup installs faketime)"
run env LD_PRELOAD="$faketime" FAKETIME="@2026-12-07 05:50:00 x10"
hear "$m" '^Start (push )?button\.$'
m=$(mark)
keys_to "$main" alt+s
hear "$m" '^(notification )?(.*, )?Cena hovoru 2,4 Kč(, .*)?\.?$'
hear "$m" '^(notification )?(.*, )?Provoz slabý(, .*)?\.?$'
hear "$m" '^(notification )?(.*, )?Provoz silný(, .*)?\.?$' 120
hear "$m" '^(notification )?(.*, )?Cena hovoru ([013-9]|2,[0-35-9])[0-9,]* Kč(, .*)?\.?$' 60
# The menu item chosen by Alt+S, and the focus back on Start, may be said once the call has begun.
call=$(spoken | tail -n +$((m + 1)) | sed -n '/Cena hovoru 2,4 Kč/,$p' | grep -vxE 'Start\.?|Start (push )?button\.' || true)
grep -qvxE '(notification )?(Cena hovoru [0-9,]+ Kč|Provoz (silný|slabý))(, (Cena hovoru [0-9,]+ Kč|Provoz (silný|slabý)))*\.?' <<<"$call" &&
    x_fail "during the call Orca said more than the price and the period: $(tr '\n' '|' <<<"$call")"
[[ -z $(sort <<<"$call" | uniq -d) ]] || x_fail "during the call Orca said a thing twice: $(tr '\n' '|' <<<"$call")"
price=$(sed -n 's/.*Cena hovoru \([0-9,]*\) Kč.*/\1/p' <<<"$call" | tail -n 1)

# Stop opens the bill, whose amount to pay is read out once it has the focus; Enter presses its button.
m=$(mark)
keys_to "$main" alt+t
hear "$m" '^Tak dobře \.\.\. (push )?button\.$'
hear "$m" "^(notification )?Celkem k platbě $price Kč\.?$"
bill=$(find_window 10 --all --onlyvisible --pid "$pid" --name '^Vyúčtování $') || x_fail "the bill is not shown"
keys_to "$bill" Return
wait_for_exit "$pid" 30 || x_fail "Enter on the bill's button did not end the program"

# Back from another program to the window that minimized at Start, its name is heard once and as it is then,
# and what changed meanwhile once. The call runs ten times faster than the clock, so that the title changes
# while Orca takes up the return: a name told just before the activation, which Orca 48 takes up after it,
# would be heard a second time and out of date.
run_minimized env LD_PRELOAD="$faketime" FAKETIME="@2026-12-07 22:00:00 x10"
away=$pid away_window=$main
m=$(mark)
run
hear "$m" '^Měřič hovorného frame\.?$'
other=$pid pid=$away main=$away_window
before=$(window_title "$main")
m=$(mark)
focus_window "$main" || x_fail "the main window cannot be activated again"
hear "$m" '^(notification )?(.*, )?Provoz slabý(, .*)?\.?$'
names=$(spoken | tail -n +$((m + 1)) | grep -E '^[0-9]+:[0-9]+:[0-9]+ = ' || true)
[[ $(wc -l <<<"$names") == 1 && -n $names ]] ||
    x_fail "back in the window Orca said its name $(grep -c . <<<"$names") times: $(tr '\n' '|' <<<"$names")"
seconds() { awk -F'[: =]+' '{print $1 * 3600 + $2 * 60 + $3}' <<<"$1"; }
(($(seconds "$names") >= $(seconds "$before"))) || x_fail "back in the window Orca said \"$names\", older than \"$before\""
kill "$pid" "$other"
wait_until 30 ended "$pid" && wait_until 30 ended "$other" || x_fail "the programs did not end"

# The focus after Start: not on the next check box when the window minimizes from the box in focus.
run_minimized
focus_window "$main" || x_fail "the main window cannot be activated again"
hear "$m" '^Start (push )?button\.$'
hear "$m" '^(notification )?(.*, )?Provoz (silný|slabý)(, .*)?\.?$'
fail_if_heard "$m" 'vyúčtování.*check box' "after Start the focus went to the bill's check box"

# Flat review reads the values as they are shown, and each check box once.
m=$(mark)
review "$main" 5
hear "$m" '^Datum: [0-9]+\.[0-9]+\.[0-9]{4} [^ ]+ Provoz: (silný|slabý)$'
hear "$m" '^checked Po startu minimalizovat checked Po stopnutí zobrazit vyúčtování$'
hear "$m" '^Délka hovoru: [0-9]+ : [0-9]+ : [0-9]+ /hod$'
hear "$m" '^Cena hovoru: 2,4 Kč$'

# The about window: the credits that roll into view can be reviewed.
m=$(mark)
keys_to "$main" alt+o
hear "$m" '^Něco o\.\.\. dialog\.?$'
about=$(find_window 10 --all --onlyvisible --pid "$pid" --name '^Něco o') || x_fail "the about window is not shown"
# Orca keeps what flat review found until the focus moves: the review starts once Orca has heard that the
# first credit, reported showing with the window and hidden below the view at once, came into view.
credit_in_view() {
    local told
    told=$(grep -E "EVENT MANAGER: object:state-changed:showing for \[label(: '| \| )Copyright" "$log" | tail -n +2)
    grep -q '(0, 0' <<<"$told" && tail -n 1 <<<"$told" | grep -q '(1, 0'
}
wait_until 60 credit_in_view || x_fail "Orca did not hear of a credit coming into view"
review "$about" 3
hear "$m" '^Copyright'
keys_to "$about" alt+k

# The bill's values, under their headings.
m=$(mark)
keys_to "$main" alt+t
hear "$m" '^Tak dobře \.\.\. (push )?button\.$'
bill=$(find_window 10 --all --onlyvisible --pid "$pid" --name '^Vyúčtování $') || x_fail "the bill is not shown"
review "$bill" 10
hear "$m" '^Účtovací období Datum vystavení dokladu [0-9]{2}\.[0-9]{2}\.[0-9]{4}$'
hear "$m" '^[0-9]{2}/[0-9]{4} [0-9]{2}\.[0-9]{2}\.[0-9]{4}$'
hear "$m" 'Celkem k platbě Kč 2,4'
keys_to "$bill" Return
wait_for_exit "$pid" 30 || x_fail "Enter on the bill's button did not end the program"
echo "orca: passed"
