#!/bin/bash
# Runs a test program on a private X server with a window manager: x_test.sh PROGRAM [ARGUMENTS...]. No
# session bus runs there, and the program is told so, as the real program tells itself.
set -euo pipefail
source "$(dirname "$0")/x_session.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT
start_x_session x_test
DBUS_SESSION_BUS_ADDRESS=disabled: QT_NO_XDG_DESKTOP_PORTAL=1 QT_QPA_PLATFORM=xcb "$@"
