#!/usr/bin/env bash
# A Windows program under Wine (cmd.exe, as tools/wine-env.sh starts them) runs
# with address-space randomisation off, its loader's C heap right above the
# loader and clear of the shared user data page at 0x7ffe0000: a heap started
# at random covered that page now and then, and the program died before it
# ran. Skipped (77) where the kernel refuses the personality.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=drive-env.sh
source "$here/tools/testing/drive-env.sh"
setarch -R true 2>/dev/null || { echo "this kernel keeps randomisation on"; exit 77; }
# A program that waits for a line on a pipe; the process keeps its pid through
# the loader's start (exec), so its address space is read from outside.
work="$(mktemp -d)"
trap 'exec 3>&-; rm -rf "$work"' EXIT
mkfifo "$work/in"
"$TQ_WINE" cmd /c "set /p line=" <"$work/in" >/dev/null 2>&1 &
pid=$!
exec 3>"$work/in"
for _ in $(seq 100); do grep -q 'kernelbase' "/proc/$pid/maps" 2>/dev/null && break; sleep 0.1; done
personality="$(cat "/proc/$pid/personality")"
heap="$(awk '/\[heap\]/ { print $1; exit }' "/proc/$pid/maps")"
echo "personality $personality, heap $heap"
echo >&3
wait "$pid" || true
(( 0x$personality & 0x0040000 )) || fail "Wine's programs run with randomisation on (personality $personality)"
[ -n "$heap" ] || fail "no heap in the program's map"
end="${heap#*-}"
(( 0x$end <= 0x7ffe0000 )) || fail "the heap ($heap) lies at or above the shared user data page"
echo "Wine's address layout is fixed"
