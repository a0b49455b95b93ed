# Sourced by the tests that need a session bus of their own, which starts only the services they name.
#
#   start_session_bus DIR [SERVICE...]   Listens on DIR/bus and sets DBUS_SESSION_BUS_ADDRESS to it; a SERVICE
#                                        (say ca.desrt.dconf) is started from the system's own description
#                                        when first asked for, in the caller's environment as it is now.
#                                        Adds the bus to the array `pids`, which the caller's EXIT trap ends.
#   private_home                         Sets `work` to a scratch folder with a home and a runtime folder of its
#                                        own, exports HOME and XDG_RUNTIME_DIR to them and, on exit, ends the
#                                        processes in `pids` and removes the folder.

private_home() {
    work=$(mktemp -d)
    pids=()
    trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"' EXIT
    mkdir -m 700 "$work/home" "$work/runtime"
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
}

start_session_bus() {
    local dir=$1 service address bus
    shift
    command -v dbus-daemon >/dev/null || { echo "dbus-daemon is missing (scripts/setup installs it)" >&2; exit 1; }
    mkdir -p "$dir/services"
    for service in "$@"; do
        ln -s "/usr/share/dbus-1/services/$service.service" "$dir/services/"
    done
    cat >"$dir/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$dir/bus</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$dir/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    { read -r address && read -r bus; } < <(dbus-daemon --config-file="$dir/bus.conf" --fork --print-address=1 --print-pid=1)
    pids+=("$bus")
    export DBUS_SESSION_BUS_ADDRESS=$address
}
