#!/bin/bash
# The real program read by a screen reader: screen_reader_test.py listens on the accessibility bus of a private
# session bus, on a private X server, while it drives the program through a call, the about window and the
# bill.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"
source "$here/session_bus.sh"

runtime=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT
start_x_session screen_reader /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "screen_reader: python3-pyatspi is missing (scripts/setup installs it)" >&2; exit 1; }

# The session bus starts the accessibility bus when the listener first asks for it, and ends with the test. It
# starts nothing else: the settings portal, which the program asks, would start the document portal, which
# mounts a folder of its own in the runtime directory. The accessibility bus keeps in GSettings whether a
# screen reader listens: in memory, as no dconf runs on this bus, so that the listener's word holds on a machine
# whose user has never turned a screen reader on.
GSETTINGS_BACKEND=memory start_session_bus "$runtime" org.a11y.Bus
XDG_RUNTIME_DIR=$runtime LANG=cs_CZ.UTF-8 TZ=Europe/Prague /usr/bin/python3 "$here/screen_reader_test.py" "$program"
