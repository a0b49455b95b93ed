#!/bin/bash
# The built program is hardened: position-independent, relocations resolved at start and then read-only,
# a stack that cannot be executed, and the stack protector compiled in.
set -euo pipefail
program=$1
command -v readelf >/dev/null || { echo "hardening: readelf is missing (scripts/setup installs binutils)" >&2; exit 1; }

failed=0
fail() {
    echo "hardening: $program $1" >&2
    failed=1
}

header=$(readelf --file-header "$program")
dynamic=$(readelf --dynamic "$program")
segments=$(readelf --program-headers --wide "$program")
symbols=$(readelf --dyn-syms --wide "$program")

grep -q 'Type: *DYN' <<<"$header" && grep -q 'FLAGS_1.*PIE' <<<"$dynamic" || fail "is not position-independent"
grep -Eq '\(FLAGS\).*BIND_NOW|FLAGS_1.*NOW' <<<"$dynamic" || fail "does not bind its symbols at start"
grep -q 'GNU_RELRO' <<<"$segments" || fail "has no read-only relocation segment"
stack=$(grep 'GNU_STACK' <<<"$segments" || true)
[[ -n $stack ]] || fail "does not say whether its stack is executable"
[[ $stack != *RWE* ]] || fail "has an executable stack"
grep -q '__stack_chk_fail' <<<"$symbols" || fail "was built without the stack protector"
exit $failed
