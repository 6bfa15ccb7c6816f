#!/bin/sh
# Times the table steps of a build on generated projects of 1,000 and 10,000
# files (ten choices, three directories), so that growth with the project's size
# shows. Not a test.
#   builder/bench/bench.sh [build folder]      (default build/h-steps-win64)
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/h-steps-win64}"
cmake --build "$build" --target buildbench tq_program_data >/dev/null
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$build-wine}"
set +eu
. "$root/tools/wine-env.sh"
set -eu
work="$build/buildbench"
for n in 1000 10000; do
  rm -rf "$work/$n"
  mkdir -p "$work/$n"
  $TQ_WINE "$build/builder/buildbench.exe" "Z:$build/program" "Z:$work/$n" "$n"
done
