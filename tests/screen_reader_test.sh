#!/bin/bash
# The real program read by a screen reader: screen_reader_test.py listens on the accessibility bus of a private
# session bus, on a private X server, while it drives the program through a call, the about window and the
# bill.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"

runtime=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT
start_x_session screen_reader dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "screen_reader: python3-pyatspi is missing (scripts/setup installs it)" >&2; exit 1; }

# The session bus starts the accessibility bus when the listener first asks for it, and ends with the test.
XDG_RUNTIME_DIR=$runtime LANG=cs_CZ.UTF-8 TZ=Europe/Prague \
    dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$program"
