#!/bin/bash
# Starts the real program natively on Wayland, under a headless weston of its own, and reads from the protocol
# log what it asks of the compositor: the window is drawn, and its title is empty at first (never the
# program's name in its place), then shows time and price, as on X11.
set -euo pipefail
program=$1

for tool in weston; do
    command -v "$tool" >/dev/null || { echo "wayland: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
pids=()
runtime=$(mktemp -d)
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-test
unset DISPLAY

weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$runtime/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -S $runtime/$WAYLAND_DISPLAY ]] && break; sleep 0.1; done
[[ -S $runtime/$WAYLAND_DISPLAY ]] || { cat "$runtime/weston.log" >&2; echo "wayland: weston did not start" >&2; exit 1; }

QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LANG=C.UTF-8 LC_ALL=C.UTF-8 "$program" 2>"$runtime/protocol.log" &
pids+=($!)

# Objects are logged as xdg_toplevel@14 by the Wayland library of Debian 12, as xdg_toplevel#14 by later ones.
titles() { sed -n 's/.*-> xdg_toplevel[@#][0-9]*\.set_title("\(.*\)")$/\1/p' "$runtime/protocol.log"; }
for _ in $(seq 150); do
    [[ $(titles | tail -n 1) == "0:0:0 = 0 Kč" ]] && break
    kill -0 "${pids[1]}" 2>/dev/null || break
    sleep 0.1
done
if [[ $(titles | tail -n 1) != "0:0:0 = 0 Kč" ]]; then
    grep -v '^\[' "$runtime/protocol.log" >&2 || true
    echo "wayland: the titles were: $(titles | sed 's/.*/"&"/' | paste -sd ' ')" >&2
    exit 1
fi
first=$(titles | head -n 1)
[[ -z $first ]] || { echo "wayland: the first title is \"$first\"" >&2; exit 1; }
grep -q -- '-> wl_surface[@#][0-9]*\.attach(wl_buffer[@#]' "$runtime/protocol.log" ||
    { echo "wayland: the window was never drawn" >&2; exit 1; }
echo "wayland: titles $(titles | sed 's/.*/"&"/' | paste -sd ' ')"
