#!/usr/bin/env bash
# Times whole builds -- the table steps and the cabinet phase -- of generated
# projects of 1,000 files (about 100 MB) and 10,000 files (about 300 MB) of
# mixed text, random and repeated data (ten choices, three directories), and in
# the same run, on the same files, `gcab -cz` packing them into one cabinet and
# `wixl` building an equivalent package. Prints our per-step times, each one's
# time and output size, and the ratios. Ours is the build inside buildbench.exe
# under Wine (Wine's start and the project's set-up not counted in its step
# times); gcab and wixl run natively, timed from start to end. Not a test.
#
# Times are wall-clock and CPU (user + system) seconds. On a machine that other
# work shares, compare the CPU times: ours is the build process's own (its step
# lines) plus, on the summary line, the Wine server's share of the run; gcab's
# and wixl's are their processes'. Also printed: the build process's peak
# resident memory (the high-water mark of the Windows process that builds, as
# each step line shows it; /usr/bin/time would measure the launcher), and a check that the package's File table and its cabinet
# agree member for member (msiinfo, cabextract).
#   builder/bench/bench.sh [build folder]  (default build/bench-win32, or
#                                           build/bench-win64 where Wine runs
#                                           no 32-bit programs)
#   BENCH_SIZES  the projects as "files:MB ..." (default "1000:100 10000:300";
#                "40000:40" builds more than 32,767 File rows and 65,536 strings)
#   BENCH_WORK   where the generated sources are kept for the next run
#                (default <build folder>/buildbench)
# The packages are deleted after each project.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
here="$root/builder/bench"
for tool in gcab wixl python3 msiinfo cabextract; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (.ci/install-deps.sh installs it)" >&2; exit 1; }
done
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$root/build/bench-wine}"
set +eu
. "$root/tools/wine-env.sh"
set -eu
build="$(realpath -m "${1:-$root/build/bench-$TQ_WINDOWS_BUILD}")"
toolchain=mingw-i686
[ "$TQ_WINDOWS_BUILD" = win64 ] && toolchain=mingw-x86_64
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null
cmake --build "$build" --target buildbench tq_program_data >/dev/null
work="$(realpath -m "${BENCH_WORK:-$build/buildbench}")"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
# Windows Installer under Wine wants backslashes throughout.
winpath() { local p="Z:$1"; printf '%s' "${p//\//\\}"; }
row() { printf "  %-22s %8s s %8s s cpu %12d bytes\n" "$@"; }
# timed FILE COMMAND...: runs the command, writing "wall cpu peak-KB" to FILE.
timed() {
  local file="$1"; shift
  /usr/bin/time -f "%e %U %S %M" -o "$file.raw" "$@"
  awk '{ printf "%.2f %.2f %d\n", $1, $2 + $3, $4 }' "$file.raw" >"$file"
}
field() { cut -d' ' -f"$2" "$1"; }
# CPU seconds the Wine server of this prefix has used so far (it runs outside
# the build process and serves its file and handle calls).
server_cpu() {
  local key pid
  # The server runs in its folder "server-<device>-<inode>" (of the prefix, in
  # hexadecimal) below a temporary folder whose name varies; its program is
  # wineserver or wineserver64.
  key="server-$(stat -c '%d %i' "$WINEPREFIX" | awk '{ printf "%x-%x", $1, $2 }')"
  for pid in $(pgrep -x 'wineserver(64)?' || true); do
    if [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$key" ]; then
      awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$pid/stat"
      return
    fi
  done
  echo 0
}
# The File table's keys and sizes against the cabinet's members and sizes.
check_members() {  # package, work folder
  local cab
  cab="$(msiinfo streams "$1" | grep -i '\.cab$' | head -n 1)"
  [ -n "$cab" ] || { echo "  members: no cabinet stream in the package"; return 1; }
  msiinfo extract "$1" "$cab" >"$2/members.cab"
  msiinfo export "$1" File | tr -d '\r' | tail -n +4 | awk -F'\t' '{ print $1, $4 }' | sort >"$2/table.txt"
  cabextract -l "$2/members.cab" | awk -F' [|] ' 'NF == 3 && $1 ~ /^ *[0-9]+$/ { gsub(/ /, "", $1); print $3, $1 }' |
    sort >"$2/cabinet.txt"
  if cmp -s "$2/table.txt" "$2/cabinet.txt"; then
    echo "  members: the File table and the cabinet agree ($(wc -l <"$2/table.txt") files)"
  else
    echo "  members: the File table and the cabinet DIFFER:"
    diff "$2/table.txt" "$2/cabinet.txt" | head -n 10
    return 1
  fi
}

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $TQ_WINDOWS_BUILD build"
status=0
for size in ${BENCH_SIZES:-1000:100 10000:300}; do
  n="${size%%:*}" mb="${size##*:}"
  dir="$work/$n"
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

  server_before="$(server_cpu)"
  timed "$out/ours.time" "$TQ_WINE" "$build/builder/buildbench.exe" "$(winpath "$build/program")" \
    "$(winpath "$out")" "$(winpath "$src")" >"$out/ours.raw"
  server="$(awk -v a="$server_before" -v b="$(server_cpu)" 'BEGIN { printf "%.2f", b - a }')"
  tr -d '\r' <"$out/ours.raw" | tee "$out/ours.txt"
  ours="$(awk '$1 == "whole" && $2 == "build" { print $3 }' "$out/ours.txt")"
  ours_cpu="$(awk -v s="$server" '$1 == "whole" && $2 == "build" { printf "%.2f", $5 + s }' "$out/ours.txt")"
  ours_size="$(stat -c %s "$out/Bench.msi")"
  ours_peak="$(awk '$1 == "whole" && $2 == "build" { print $8 }' "$out/ours.txt")"
  check_members "$out/Bench.msi" "$out" || status=1

  (cd "$src" && timed "$out/gcab.time" gcab -cz "$out/gcab.cab" file*)
  gcab_size="$(stat -c %s "$out/gcab.cab")"

  python3 "$here/benchwxs.py" "$src" "$out/bench.wxs"
  timed "$out/wixl.time" wixl -o "$out/wixl.msi" "$out/bench.wxs"
  wixl_size="$(stat -c %s "$out/wixl.msi")"

  echo "  the same $n files ($bytes bytes):"
  row "Tarnquill (package)" "$ours" "$ours_cpu" "$ours_size"
  row "gcab -cz (cabinet)" "$(field "$out/gcab.time" 1)" "$(field "$out/gcab.time" 2)" "$gcab_size"
  row "wixl (package)" "$(field "$out/wixl.time" 1)" "$(field "$out/wixl.time" 2)" "$wixl_size"
  echo "  (ours: the build's own CPU time and $server s of the Wine server's;" \
    "peak resident memory $ours_peak MB)"
  printf "  %-22s cpu %6s   wall %6s   size %6s\n" "ours / gcab" "$(ratio "$ours_cpu" "$(field "$out/gcab.time" 2)")" \
    "$(ratio "$ours" "$(field "$out/gcab.time" 1)")" "$(ratio "$ours_size" "$gcab_size")"
  printf "  %-22s cpu %6s   wall %6s   size %6s\n" "ours / wixl" "$(ratio "$ours_cpu" "$(field "$out/wixl.time" 2)")" \
    "$(ratio "$ours" "$(field "$out/wixl.time" 1)")" "$(ratio "$ours_size" "$wixl_size")"
  rm -rf "$out"
done
exit $status
