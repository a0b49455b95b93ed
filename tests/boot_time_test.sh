#!/bin/bash
# Runs boot_time_test in a time namespace whose boot-time clock leads the monotonic one by a day, as after a
# day asleep: boot_time_test.sh TEST. Where no time namespace can be made (an older kernel, a sandbox that
# forbids it), says so and ends with status 77, which marks the test skipped.
set -euo pipefail
test=$1
lead=86400
for unshare in "unshare --time" "unshare --user --map-root-user --time"; do
    if $unshare --boottime $lead true 2>/dev/null; then
        exec $unshare --boottime $lead env ZELVOR_BOOT_TIME_LEAD=$lead "$test"
    fi
done
echo "boot_time: skipped, no time namespace can be made here: $(unshare --time true 2>&1 || true)" >&2
exit 77
