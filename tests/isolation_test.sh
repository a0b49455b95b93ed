#!/bin/bash
# The real program, traced on a private X server and session bus through a call and its bill, keeps to
# itself: it starts no other program, listens on no socket, connects to nothing but the display and the
# session bus, writes no file, and of the user's home looks only at the desktop's own settings (display
# credentials, fonts, cursors, Qt's logging rules). HOME and XDG_RUNTIME_DIR are empty directories; nothing
# may appear in them, though the bus has no settings portal and the program turns to GSettings.
set -euo pipefail
program=$(realpath "$1")

source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/session_bus.sh"

work=$(mktemp -d)
home=$work/home
runtime=$work/runtime
mkdir -m 700 "$home" "$runtime"
log=$work/trace

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"' EXIT
start_x_session isolation strace
start_session_bus "$work/bus"

# A sanitizer build keeps its checks, except for leaks: the leak checker cannot work under strace.
env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" HOME="$home" \
    XDG_RUNTIME_DIR="$runtime" LANG=cs_CZ.UTF-8 \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    strace -f -qq -e trace=%file,%network,%process -o "$log" "$program" >/dev/null 2>&1 &
tracer=$!
pids+=("$tracer")
# By its name: strace starts children of its own first, to try out the kernel's tracing.
traced_started() { traced=$(pgrep -P "$tracer" -x "$(basename "$program")" | head -n 1) && [[ -n $traced ]]; }
wait_until 10 traced_started || x_fail "strace did not start the program"
window=$(find_window 20 --onlyvisible --pid "$traced") || x_fail "the program's window did not appear"
# A call of a few seconds, stopped with the bill, whose button ends the program.
keys_to "$window" alt+s
a_few_seconds_in() { [[ $(window_title "$window") =~ ^0:0:[2-9]\  ]]; }
wait_until 10 a_few_seconds_in || x_fail "the call did not run: the title is \"$(window_title "$window")\""
keys_to "$window" alt+t
bill=$(find_window 10 --all --onlyvisible --pid "$traced" --name '^Vyúčtování $') || x_fail "Stop showed no bill"
keys_to "$bill" space
if ! wait_until 10 ended "$traced"; then
    kill "$traced"
    x_fail "the bill's button did not end the program"
fi
status=0
wait "$tracer" || status=$?
failed=0
fail() {
    echo "isolation: $1" >&2
    failed=1
}
((status == 0)) || fail "the program ended with status $status"
calls() { # the traced calls named, as "name(arguments) = result"
    sed -E 's/^[0-9]+ +//' "$log" | grep -E "^($1)\(" || true
}

created=$(find "$home" "$runtime" -mindepth 1)
[[ -z $created ]] || fail "created $created"
servers=$(calls 'bind|listen|accept|accept4')
[[ -z $servers ]] || fail "opened a server socket: $servers"
others=$(calls 'connect' | grep -vE "sun_path=(@?\"/tmp/\.X11-unix/X$display\"|\"$work/bus/bus\")" || true)
[[ -z $others ]] || fail "connected to something other than the display and the session bus: $others"
started=$(calls 'execve|execveat' | tail -n +2)
[[ -z $started ]] || fail "started another program: $started"
writes=$(calls 'open|openat|openat2|creat' | grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC' | grep -v '= -1' || true)
writes+=$(calls 'mkdir|mkdirat|rmdir|unlink|unlinkat|rename|renameat|renameat2|link|linkat|symlink|symlinkat|chmod|fchmodat|truncate|utimensat' |
    grep -E '= 0$' || true)
[[ -z $writes ]] || fail "changed the file system: $writes"
allowed="\.Xauthority|\.Xdefaults[^\"]*|\.config/fontconfig[^\"]*|\.fonts[^\"]*|\.fontconfig/[^\"]*|\.cache/fontconfig/[^\"]*"
allowed+="|\.local/share/fonts[^\"]*|\.icons/[^\"]*|\.config/QtProject/qtlogging\.ini"
looked=$(grep -oE "\"$home/[^\"]*\"" "$log" | grep -vE "^\"$home/($allowed)\"$" | sort -u || true)
[[ -z $looked ]] || fail "looked at the user's files: $looked"
exit $failed
