#!/bin/bash
# The command line, without a display server: --help (-h) and --version answer on standard output; a mistake
# in it is named as typed in one line on standard error, with status 2, before any display is looked for;
# each of Qt's own options passes, with its value where it takes one; without a display the program says
# which one it looked for, in one line, with status 1.
set -euo pipefail
program=$1

fail() {
    echo "command_line: $*" >&2
    exit 1
}
# Runs the program without a display; sets `status` and `said` (standard output and error).
run() {
    status=0
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "$@" 2>&1) || status=$?
}
one_line() { [[ -n $said && $said != *$'\n'* ]]; }

for help in --help -h; do
    run "$program" "$help"
    [[ $status == 0 && $said == 'Usage: zelvor'* ]] || fail "$help gave status $status: $said"
done
run "$program" --version
[[ $status == 0 && $said =~ ^zelvor\ [0-9] ]] || fail "--version gave status $status: $said"

# Named as typed, dashes and all; Qt reads the value of most of its options only as the next argument.
for mistake in --bogus -bogus stray -qwindowtitle=X; do
    run "$program" "$mistake"
    [[ $status == 2 && $said == *"'${mistake%=*}'"*--help* ]] && one_line || fail "$mistake gave status $status: $said"
done

run "$program"
[[ $status == 1 && $said == *DISPLAY* ]] && one_line || fail "without a display: status $status: $said"
# Told to use Wayland where no compositor runs, Qt's Wayland platform says so in a message of its own, not in
# the X11 platform's category; in a runtime directory of its own, or the Wayland library says more.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
run XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=wayland "$program"
[[ $status == 1 && $said == *WAYLAND_DISPLAY* ]] && one_line || fail "without a Wayland display: status $status: $said"
# A display that does not answer: named in the message when DISPLAY names it; Qt's options reach Qt, which
# looks for the one they name.
number=4000
while [[ -e /tmp/.X11-unix/X$number ]]; do number=$((number + 1)); done
run DISPLAY=:$number QT_QPA_PLATFORM=xcb "$program"
[[ $status == 1 && $said == *"DISPLAY=\":$number\""* ]] && one_line ||
    fail "with DISPLAY=:$number and no server there: status $status: $said"
# Every option that Qt takes, each of those without a value before one with: a value read as a stray argument,
# or an option read as a value, would be refused.
qt_options=(-reverse -platform xcb -widgetcount -platformpluginpath /nonexistent -testability -platformtheme none
    -nograb -plugin none -dograb -qwindowgeometry 449x240 -qwindowicon none -qwindowtitle X -session none
    -style=fusion -stylesheet /dev/null -qmljsdebugger port:0 -geometry 449x240 -title X -icon none -name zelvor
    -visual 33 --display :$number)
run "$program" "${qt_options[@]}"
[[ $status == 1 && $said == *"\":$number\""* ]] && one_line || fail "with Qt's options: status $status: $said"
echo "command_line: passed"
