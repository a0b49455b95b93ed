#!/bin/bash
# The real program, traced on a private X server through a call and its bill, keeps to itself: it starts
# no other program, listens on no socket, connects to nothing but the display, writes no file, and of the
# user's home looks only at the desktop's own settings (display credentials, fonts, cursors, Qt's logging
# rules). HOME and XDG_RUNTIME_DIR are empty directories; nothing may appear in them.
set -euo pipefail
program=$(realpath "$1")

source "$(dirname "$0")/x_session.sh"

work=$(mktemp -d)
home=$work/home
runtime=$work/runtime
mkdir -m 700 "$home" "$runtime"
log=$work/trace

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"' EXIT
start_x_session isolation 200 279 xdotool strace

# A sanitizer build keeps its checks, except for leaks: the leak checker cannot work under strace.
env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$home" XDG_RUNTIME_DIR="$runtime" LANG=cs_CZ.UTF-8 \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    strace -f -qq -e trace=%file,%network,%process -o "$log" "$program" >/dev/null 2>&1 &
pids+=($!)
window=
for _ in $(seq 100); do
    traced=$(pgrep -P "${pids[2]}" | head -n 1 || true)
    [[ -n $traced ]] && window=$(xdotool search --onlyvisible --pid "$traced" 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "isolation: the program's window did not appear" >&2; exit 1; }
sleep 1
# A call of a few seconds, stopped with the bill, whose button ends the program.
xdotool windowactivate --sync "$window" key --clearmodifiers alt+s
sleep 2
xdotool key --clearmodifiers alt+t
bill=$(timeout 5 xdotool search --sync --onlyvisible --name 'Vyúčtování' | head -n 1) ||
    { echo "isolation: Stop showed no bill" >&2; exit 1; }
sleep 1
xdotool windowactivate --sync "$bill" key --clearmodifiers space
for _ in $(seq 100); do kill -0 "$traced" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$traced" 2>/dev/null; then
    echo "isolation: the bill's button did not end the program" >&2
    kill "$traced"
    exit 1
fi
status=0
wait "${pids[2]}" || status=$?
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
others=$(calls 'connect' | grep -vE "sun_path=@?\"/tmp/\.X11-unix/X$n\"" || true)
[[ -z $others ]] || fail "connected to something other than the display: $others"
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
