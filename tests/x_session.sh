# Sourced by the tests that run the real program: a private X server with a window manager, and helpers that
# wait for what a test needs instead of for a time. Every wait polls until its deadline; a window that goes
# while it is looked for is no error, only not found.
#
#   start_x_session NAME [TOOL...]   NAME prefixes messages; TOOLs are checked besides X's own. Sets DISPLAY,
#                                    display (its number) and QT_QPA_PLATFORM, and adds the server and the
#                                    window manager to the array `pids`, which the caller's EXIT trap ends.
#                                    The screen is X_SCREEN (WIDTHxHEIGHTxDEPTH), else 1280x1024x24; the window
#                                    manager is X_WINDOW_MANAGER (openbox, kwin_x11 or xfwm4), else openbox.
#                                    One that cannot start here skips the test (status 77).
#   start_x_server                   The server alone, as start_x_session starts it.

x_session_name=x_session

# A failure shows what the program has said, if one was started.
x_fail() {
    echo "$x_session_name: $1" >&2
    [[ -z ${x_program_output:-} ]] || sed 's/^/  program: /' "/proc/$$/fd/$x_program_output" >&2
    exit 1
}

start_x_session() {
    x_session_name=$1
    shift
    local tool manager=${X_WINDOW_MANAGER:-openbox}
    for tool in xdotool xwininfo "$manager" "$@"; do
        command -v "$tool" >/dev/null || x_fail "$tool is missing (scripts/setup installs it)"
    done
    start_x_server
    # The window manager is running once the root window names its check window and that window names itself.
    # KWin and xfwm4 read their settings over a session bus, so they get one of their own, which ends with the
    # test and takes the services it started along.
    x_session_log=$(mktemp)
    if [[ $manager == openbox ]]; then
        openbox >"$x_session_log" 2>&1 &
    else
        local address bus
        command -v dbus-daemon >/dev/null || x_fail "dbus-daemon is missing (scripts/setup installs it)"
        { read -r address && read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
        pids+=("$bus")
        DBUS_SESSION_BUS_ADDRESS=$address "$manager" >"$x_session_log" 2>&1 </dev/null &
    fi
    pids+=($!)
    if ! wait_until 30 window_manager_running; then
        if [[ $manager != openbox ]]; then
            echo "$x_session_name: skipped: $manager did not start here: $(tail -n 3 "$x_session_log" | tr '\n' ' ')" >&2
            exit 77
        fi
        x_fail "the window manager did not start on $DISPLAY: $(cat "$x_session_log")"
    fi
    rm -f "$x_session_log"
}

start_x_server() {
    local tool fifo lock
    for tool in Xvfb xdpyinfo xprop flock; do
        command -v "$tool" >/dev/null || x_fail "$tool is missing (scripts/setup installs it)"
    done
    # The server takes the first free display itself and tells its number once it accepts connections. Two
    # servers looking for one at the same time can take each other's socket, so they look one at a time. It
    # does not reset when its last client leaves, which would turn away the next one meanwhile.
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    exec {lock}>>"${TMPDIR:-/tmp}/zelvor-x-session.lock"
    flock -w 60 "$lock" || x_fail "another X server kept the display search locked"
    Xvfb -displayfd 3 -screen 0 "${X_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$fifo" {lock}>&- >/dev/null 2>&1 &
    pids+=($!)
    read -r -t 30 display <"$fifo" || true
    exec {lock}>&-
    rm -f "$fifo"
    [[ $display =~ ^[0-9]+$ ]] || x_fail "the X server did not start"
    export DISPLAY=:$display
    # Whatever platform the caller's environment names, the program goes to this server.
    export QT_QPA_PLATFORM=xcb
    xdpyinfo >/dev/null 2>&1 || x_fail "the X server on $DISPLAY does not answer"
}

window_manager_running() {
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-f]*\)$/\1/p')
    [[ -n $check ]] && xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "# $check$"
}

# Microseconds on the wall clock, whatever the locale's decimal separator.
now_us() { echo "${EPOCHREALTIME//[^0-9]/}"; }

# Runs the command until it succeeds (status 0) or the seconds are over (status 1).
#   wait_until SECONDS COMMAND [ARGUMENTS...]
wait_until() {
    local deadline=$(($(now_us) + $1 * 1000000))
    shift
    until "$@"; do
        (($(now_us) < deadline)) || return 1
        sleep 0.05
    done
}

# The first window that `xdotool search` finds with these arguments, once there is one (status 1 if none
# within the seconds). Unlike `xdotool search --sync`, it survives windows that vanish during the search.
#   find_window SECONDS SEARCH_ARGUMENTS...
find_window() {
    local deadline=$(($(now_us) + $1 * 1000000)) found
    shift
    until found=$(LC_ALL=C.UTF-8 xdotool search "$@" 2>/dev/null | head -n 1) && [[ -n $found ]]; do
        (($(now_us) < deadline)) || return 1
        sleep 0.05
    done
    echo "$found"
}

# Whether the window has the keyboard focus and the window manager calls it active.
focused() {
    [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" && $(xdotool getactivewindow 2>/dev/null) == "$1" ]]
}

# The window's title as the window system has it. Outside a UTF-8 locale, which a fresh machine may not
# have set, xprop would write the letters beyond ASCII as escapes.
window_title() {
    LC_ALL=C.UTF-8 xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

# Asks the window manager to activate the window, minimized or not, until it has the keyboard focus (status
# 1 if it is gone or never gets it within ten seconds).
focus_window() { # window
    local deadline=$(($(now_us) + 10000000))
    until focused "$1"; do
        (($(now_us) < deadline)) || return 1
        xdotool windowactivate "$1" >/dev/null 2>&1 || return 1
        wait_until 1 focused "$1" && return 0
    done
}

# Presses keys in the window once it has the keyboard focus.
#   keys_to WINDOW KEYS...
keys_to() {
    local window=$1
    shift
    focus_window "$window" || x_fail "window $window never got the keyboard focus"
    xdotool key --clearmodifiers "$@"
}

# Starts the program as a Czech user would and waits for its main window; sets `pid` and `main`, and adds
# the program to `pids`. Its output goes to a file that is already deleted, for x_fail to show.
#   start_program PROGRAM
start_program() {
    local output
    output=$(mktemp)
    exec {x_program_output}<>"$output"
    rm -f "$output"
    LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 "$1" >&"$x_program_output" 2>&1 &
    pid=$!
    pids+=("$pid")
    main=$(find_window 10 --onlyvisible --pid "$pid") || x_fail "the program's window did not appear"
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits for the process to end and returns its exit status (status 124 if it runs on after the seconds).
#   wait_for_exit PID SECONDS
wait_for_exit() {
    wait_until "$2" ended "$1" || return 124
    local status=0
    wait "$1" || status=$?
    return $status
}
