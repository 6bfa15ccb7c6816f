#!/usr/bin/env bash
# Times Tarnquill's start (to its first window, then closed again; tqdrive
# with no steps) on a copy of the program folder with the shipped lcid.dat and
# with one of 200,000 language lines. Not a test.
#   workspace/bench/start-languages.sh [Windows build folder]   (default build/win64)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "${1:-$root/build/win64}")"
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$build/../wine}"
# shellcheck source=../../tools/testing/drive-env.sh
source "$root/tools/testing/drive-env.sh"
work="$build/start-languages-bench"
quiet_program_copy "$build/program" "$work"

start() {  # start LABEL : prints the seconds from start to end
  local t0 t1
  t0=$(date +%s.%N)
  "$TQ_WINE" "$build/tools/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" </dev/null >/dev/null 2>&1 ||
    fail "Tarnquill did not start"
  t1=$(date +%s.%N)
  printf '%-28s %6.2f s\n' "$1" "$(echo "$t1 - $t0" | bc)"
}
start "shipped lcid.dat ($(wc -l <"$prog/lcid.dat") lines)"
python3 - "$prog/lcid.dat" <<'PY'
import sys
with open(sys.argv[1], "w", newline="") as f:
    for i in range(200000):
        f.write("%d Language %d\r\n" % (5000 + i, i))
PY
start "lcid.dat of 200,000 lines"
rm -rf "$work"
