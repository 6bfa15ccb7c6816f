#!/usr/bin/env bash
# Benchmark of the update publisher's binary delta and lh5 compressor against
# xdelta3 -9 and gzip -9 on the same file pairs, side by side in one run.
# Not a test: it prints sizes (bytes) and throughput (MB of the new file per
# second). Usage: updates/bench/bench.sh [OUTPUT-FILE]
#   BENCH_BUILD  build folder for the native driver (default build/bench-native)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${BENCH_BUILD:-$root/build/bench-native}"
out="${1:-/dev/null}"
command -v xdelta3 >/dev/null || { echo "xdelta3 is missing (apt-get install xdelta3)" >&2; exit 1; }

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DTQ_SANITIZE=OFF >/dev/null
cmake --build "$build" --target updbench >/dev/null
drv="$build/updates/updbench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The pairs: old and new copies of one file.
python3 - "$work" "$root" <<'PY'
import os, random, sys
work, root = sys.argv[1], sys.argv[2]
rnd = random.Random(7)
def edit(data, n, seed):
    r = random.Random(seed); b = bytearray(data)
    for _ in range(n):
        p = r.randrange(len(b)); k = r.randrange(1, 400)
        if r.random() < 0.5: b[p:p] = r.randbytes(k)
        else: del b[p:p + k]
    return bytes(b)
def pair(name, old, new):
    d = os.path.join(work, name); os.makedirs(d)
    open(os.path.join(d, "old"), "wb").write(old); open(os.path.join(d, "new"), "wb").write(new)
words = [w.encode() for w in "the update file record delta version old new choice folder cabinet of and to a setup build".split()]
text = b" ".join(rnd.choice(words) for _ in range(1200000))
pair("text-edited", text, edit(text, 60, 1))
blob = rnd.randbytes(6 * 1024 * 1024)
pair("random-edited", blob, edit(blob, 40, 2))
a = rnd.randbytes(1 << 20); b = rnd.randbytes(1 << 20); c = rnd.randbytes(1 << 20)
pair("moved-blocks", a + b + c, c + a + b)
PY
add_build_pair() {  # name old new
  [ -f "$2" ] && [ -f "$3" ] || return 0
  mkdir -p "$work/$1"; cp "$2" "$work/$1/old"; cp "$3" "$work/$1/new"
}
add_build_pair "cc1plus-threads" /usr/lib/gcc/i686-w64-mingw32/12-win32/cc1plus /usr/lib/gcc/i686-w64-mingw32/12-posix/cc1plus
add_build_pair "identical-binary" "$build/updates/updbench" "$build/updates/updbench"
if [ -f "$root/build/win32/updates/tests/updates_tests.exe" ] && [ -f "$root/build/win64/updates/tests/updates_tests.exe" ]; then
  add_build_pair "exe-i686-vs-x64" "$root/build/win32/updates/tests/updates_tests.exe" "$root/build/win64/updates/tests/updates_tests.exe"
fi

now() { date +%s.%N; }
mbps() { python3 -c "import sys; s=float(sys.argv[2]); print('%.1f' % (int(sys.argv[1]) / 1e6 / s if s > 0 else 0))" "$1" "$2"; }

{
printf "%-18s %10s | %10s %8s %10s | %10s %8s | %10s %8s | %10s %8s\n" \
  pair new-bytes delta MB/s delta+lh5 xdelta3-9 MB/s lh5 MB/s gzip-9 MB/s
for d in "$work"/*/; do
  name="$(basename "$d")"
  size=$(stat -c %s "$d/new")
  read -r dsize dsec < <("$drv" delta "$d/old" "$d/new" "$d/delta")
  read -r dzsize _ < <("$drv" lh5 "$d/delta" "$d/delta.lh5")
  t0=$(now); xdelta3 -9 -e -f -s "$d/old" "$d/new" "$d/x.vcdiff"; t1=$(now)
  xsize=$(stat -c %s "$d/x.vcdiff"); xsec=$(python3 -c "print($t1-$t0)")
  read -r zsize zsec < <("$drv" lh5 "$d/new" "$d/new.lh5")
  t0=$(now); gzip -9 -c "$d/new" > "$d/new.gz"; t1=$(now)
  gsize=$(stat -c %s "$d/new.gz"); gsec=$(python3 -c "print($t1-$t0)")
  printf "%-18s %10d | %10d %8s %10d | %10d %8s | %10d %8s | %10d %8s\n" "$name" "$size" \
    "$dsize" "$(mbps "$size" "$dsec")" "$dzsize" "$xsize" "$(mbps "$size" "$xsec")" \
    "$zsize" "$(mbps "$size" "$zsec")" "$gsize" "$(mbps "$size" "$gsec")"
done
} | tee "$out"
