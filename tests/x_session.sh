# Sourced by the tests that run the real program: a private X server with a window manager, on the first free
# display from FIRST to LAST (each test has a range of its own, so that they can run side by side). Sets
# DISPLAY and adds the server and the window manager to the array `pids`, which the caller's EXIT trap ends.
#
#   start_x_session NAME FIRST LAST [TOOL...]   NAME prefixes messages; TOOLs are checked besides X's own
start_x_session() {
    local name=$1 first=$2 last=$3 tool n
    shift 3
    for tool in Xvfb openbox xdpyinfo "$@"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
    done
    for n in $(seq "$first" "$last"); do [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break; done
    export DISPLAY=:$n
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
}
