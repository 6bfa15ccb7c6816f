#!/usr/bin/env bash
# Times loading and replacing a project with many Registry page items in the
# real Tarnquill (driven by tqdrive): the start with no project, the start
# with the example of N extra registry items (the load, closing included) and
# tqloadbench's in-process times of the same load, of a second such project
# loaded over it (the replace) and of the window's end. Not a test.
#   workspace/bench/load-registry-items.sh [Windows build folder] [N]   (build/win64, 10000)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "${1:-$root/build/win64}")"
items="${2:-10000}"
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$build/../wine}"
# shellcheck source=../../tools/testing/drive-env.sh
source "$root/tools/testing/drive-env.sh"
work="$build/load-registry-items-bench"
quiet_program_copy "$build/program" "$work"
"$TQ_WINE" "$build/tools/tqexample.exe" --registry-items "$items" "$(winpath "$root/examples/Sample/files")" \
  "$(winpath "$work/First/1.0/First.ipr")" >/dev/null
"$TQ_WINE" "$build/tools/tqexample.exe" --registry-items "$items" --product-name "Second Product" \
  "$(winpath "$root/examples/Sample/files")" "$(winpath "$work/Second/1.0/Second.ipr")" >/dev/null

run() {  # run LABEL ARGS... : prints the seconds from start to end
  local label="$1" t0 t1
  shift
  t0=$(date +%s.%N)
  "$TQ_WINE" "$build/tools/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$@" </dev/null >"$work/drive.log" 2>&1 ||
    { cat "$work/drive.log"; fail "$label: driving Tarnquill failed"; }
  t1=$(date +%s.%N)
  printf '%-44s %7.2f s\n' "$label" "$(echo "$t1 - $t0" | bc)"
}
run "start, no project"
run "start with $items registry items" "$(winpath "$work/First/1.0/First.ipr")"
# The same load, a second project of as many items loaded over it and the
# window's end, each timed alone in-process.
"$TQ_WINE" "$build/tools/tqloadbench.exe" "$(winpath "$prog")" "$(winpath "$work/First/1.0/First.ipr")" \
  "$(winpath "$work/Second/1.0/Second.ipr")" </dev/null | tr -d '\r'
rm -rf "$work"
