#!/bin/bash
# The desktop's settings never hold the real program up. On a private X server and session bus, with a
# settings portal of the test's own that never answers, one that answers with an error, none at all, and no
# session bus either: the window shows while the question is out, a call runs, Stop and the bill's button
# end the program at once with the question still unanswered, and the program says nothing.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"
source "$here/session_bus.sh"

private_home
# A GNOME session's: Qt's own GNOME theme asks the portal too, and tells of a bus it cannot reach.
export XDG_CURRENT_DESKTOP=GNOME
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null ||
    x_fail "python3-dbus or python3-gi is missing (scripts/setup installs them)"
start_x_session slow_portal dbus-send
start_session_bus "$work/bus"
bus=$DBUS_SESSION_BUS_ADDRESS

ask_bus() { # destination, method and arguments: prints the answer's values
    dbus-send --session --print-reply=literal --dest="$1" "$2" "${@:3}" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}
portal_runs() {
    [[ $(ask_bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.portal.Desktop) == "boolean true" ]]
}
portal_gone() { ! portal_runs; }
# How many questions the portal has had, and how many it has not answered: "uint32 1 uint32 1".
questions() { ask_bus org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop zelvor.test.Portal.Questions; }
# Qt itself may ask the portal too, as Qt 6.8 does under GNOME.
all_unanswered() { [[ $(questions) =~ ^uint32\ ([1-9][0-9]*)\ uint32\ ([0-9]+)$ && ${BASH_REMATCH[1]} == "${BASH_REMATCH[2]}" ]]; }

for portal in silent error absent "no bus"; do
    x_session_name="slow_portal ($portal)"
    portal_pid=
    if [[ $portal == silent || $portal == error ]]; then
        "$here/fake_portal.py" "$portal" org.gnome.desktop.wm.preferences button-layout s:close: &
        portal_pid=$!
        pids+=("$portal_pid")
        wait_until 10 portal_runs || x_fail "the test's portal did not start"
    fi
    if [[ $portal == "no bus" ]]; then
        unset DBUS_SESSION_BUS_ADDRESS
    else
        export DBUS_SESSION_BUS_ADDRESS=$bus
    fi

    start_program "$program"
    [[ $portal != silent ]] || all_unanswered || x_fail "the program did not ask the portal: it says $(questions)"
    keys_to "$main" alt+s
    calling() { [[ $(window_title "$main") =~ ^0:0:[1-9]\  ]]; }
    wait_until 10 calling || x_fail "the call did not run: the title is \"$(window_title "$main")\""
    keys_to "$main" alt+t
    bill=$(find_window 10 --all --onlyvisible --pid "$pid" --name '^Vyúčtování $') || x_fail "Stop showed no bill"
    keys_to "$bill" space
    status=0
    wait_for_exit "$pid" 10 || status=$?
    ((status != 124)) || x_fail "the program did not end at the bill's button"
    ((status == 0)) || x_fail "the program ended with status $status"
    said=$(cat "/proc/$$/fd/$x_program_output")
    [[ -z $said ]] || x_fail "the program said something"
    exec {x_program_output}>&-
    x_program_output=
    if [[ -n $portal_pid ]]; then
        kill "$portal_pid"
        wait "$portal_pid" 2>/dev/null || true
        wait_until 10 portal_gone || x_fail "the test's portal did not end"
    fi
done
