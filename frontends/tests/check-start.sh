#!/usr/bin/env bash
# Checks that the three programs are Windows GUI programs of the build's kind,
# then starts each front-end program under Wine as a user would (through tqdrive,
# which waits for its window and closes it with WM_CLOSE): it must end cleanly.
#   check-start.sh PROGRAM_DIR TOOLS_DIR MACHINE   (MACHINE: 14c i686, 8664 x86_64)
set -euo pipefail
program_dir="$1"; tools_dir="$2"; machine="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

# The PE header: machine and subsystem (2 = Windows GUI).
pe_field() {  # file, offset from the PE signature, size
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3c)[0]
assert data[pe:pe + 4] == b'PE\0\0'
size = int(sys.argv[3])
print('%x' % int.from_bytes(data[pe + int(sys.argv[2]):pe + int(sys.argv[2]) + size], 'little'))
PY
}

for name in Tarnquill Vantrel Sorvex; do
  exe="$program_dir/$name.exe"
  [ -f "$exe" ] || fail "no $name.exe"
  [ "$(pe_field "$exe" 4 2)" = "$machine" ] || fail "$name.exe is not built for machine $machine"
  [ "$(pe_field "$exe" 92 2)" = 2 ] || fail "$name.exe is not a Windows GUI program"
done
# Tarnquill's own start is checked with the workspace.
for name in Vantrel Sorvex; do
  exe="$program_dir/$name.exe"
  out="$("$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$exe")" </dev/null 2>&1 | tr -d '\r')"
  echo "$out"
  grep -q "^window: " <<<"$out" || fail "$name showed no window"
  grep -qx "exit code: 0" <<<"$out" || fail "$name did not end cleanly"
done
echo "front-end start checks passed"
