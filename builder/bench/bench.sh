#!/usr/bin/env bash
# Times whole builds -- the table steps and the cabinet phase -- of generated
# projects of 1,000 files (about 100 MB) and 10,000 files (about 300 MB) of
# mixed text, random and repeated data (ten choices, three directories), and in
# the same run, on the same files, `gcab -cz` packing them into one cabinet and
# `wixl` building an equivalent package. Prints our per-step times, each one's
# time and output size, and the ratios. Ours is the build inside buildbench.exe
# under Wine (Wine's start and the project's set-up not counted); gcab and wixl
# run natively, timed from start to end. Not a test.
#   builder/bench/bench.sh [build folder]      (default build/bench-win32)
#   BENCH_SIZES  the projects as "files:MB ..." (default "1000:100 10000:300")
# The sources are kept in <build folder>/buildbench/<files>/src for the next
# run; the packages are deleted after each project.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
here="$root/builder/bench"
build="$(realpath -m "${1:-$root/build/bench-win32}")"
for tool in gcab wixl python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (.ci/install-deps.sh installs it)" >&2; exit 1; }
done
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" --target buildbench tq_program_data >/dev/null
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$build-wine}"
set +eu
. "$root/tools/wine-env.sh"
set -eu

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
# Windows Installer under Wine wants backslashes throughout.
winpath() { local p="Z:$1"; printf '%s' "${p//\//\\}"; }
row() { printf "  %-22s %8s s %12d bytes\n" "$@"; }

for size in ${BENCH_SIZES:-1000:100 10000:300}; do
  n="${size%%:*}" mb="${size##*:}"
  dir="$build/buildbench/$n"
  src="$dir/src" out="$dir/out"
  # The same bytes every run: made again only when the generator changed.
  stamp="$n $mb $(sha1sum "$here/benchfiles.py" | cut -d' ' -f1)"
  if [ "$(cat "$dir/src.stamp" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$src" "$dir/src.stamp"
    python3 "$here/benchfiles.py" "$src" "$n" "$mb"
    echo "$stamp" >"$dir/src.stamp"
  fi
  rm -rf "$out"
  mkdir -p "$out"
  bytes="$(find "$src" -type f -printf "%s\n" | awk "{ s += \$1 } END { print s }")"

  $TQ_WINE "$build/builder/buildbench.exe" "$(winpath "$build/program")" "$(winpath "$out")" \
    "$(winpath "$src")" | tr -d '\r' | tee "$out/ours.txt"
  ours="$(awk '$1 == "whole" && $2 == "build" { print $3 }' "$out/ours.txt")"
  ours_size="$(stat -c %s "$out/Bench.msi")"

  start="$(now)"
  (cd "$src" && gcab -cz "$out/gcab.cab" file*)
  gcab_time="$(since "$start")"
  gcab_size="$(stat -c %s "$out/gcab.cab")"

  python3 "$here/benchwxs.py" "$src" "$out/bench.wxs"
  start="$(now)"
  wixl -o "$out/wixl.msi" "$out/bench.wxs"
  wixl_time="$(since "$start")"
  wixl_size="$(stat -c %s "$out/wixl.msi")"

  echo "  the same $n files ($bytes bytes):"
  row "Tarnquill (package)" "$ours" "$ours_size"
  row "gcab -cz (cabinet)" "$gcab_time" "$gcab_size"
  row "wixl (package)" "$wixl_time" "$wixl_size"
  printf "  %-22s time %6s   size %6s\n" "ours / gcab" "$(ratio "$ours" "$gcab_time")" \
    "$(ratio "$ours_size" "$gcab_size")"
  printf "  %-22s time %6s   size %6s\n" "ours / wixl" "$(ratio "$ours" "$wixl_time")" \
    "$(ratio "$ours_size" "$wixl_size")"
  rm -rf "$out"
done
