#!/usr/bin/env bash
# Benchmark (not a test): installs the example's Flash-variant package (built by
# frontends/tests/make-flash-example.sh) through Sorvex and the GUI stand-in, and
# through "msiexec /qn", each into a fresh folder and removed again, and prints
# both times and their ratio. Goal: the front-end adds at most 10%.
# Sorvex's time runs from its start to the stand-in's <Finished/>; msiexec's
# from its start to its end.
#   sorvex-vs-msiexec.sh BUILD_DIR OUT_DIR [ROUNDS]   (OUT_DIR: make-flash-example.sh's)
set -euo pipefail
build="$(cd "$1" && pwd)"; out="$(cd "$2" && pwd)"; rounds="${3:-3}"  # absolute: Windows paths are made from them
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
product="{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B6C}"
package="$out/project/1.0.0/Sample.msi"
[ -f "$package" ] || fail "no $package (run make-flash-example.sh first)"
work="$out/bench"
now() { date +%s.%N; }
remove() { "$TQ_WINE" msiexec /x "$product" /qn TARGETDIR="$(winpath "$1")" </dev/null >/dev/null 2>&1 || true; }

sorvex_round() {  # prints seconds
  local dir="$work/sorvex" target="$work/sorvex-target"
  rm -rf "$dir" "$target"; mkdir -p "$dir"
  cp "$build/program/Sorvex.exe" "$build/program/FlashGui.exe" "$package" "$dir/"
  printf '[Setup]\r\nMsiname=Sample.msi\r\n' > "$dir/setup.ini"
  printf 'send Directory::%s\nsend Type::Typical\nawait <Settings>\nsend Install::\nawait <Finished/>\nsend Quit\n' \
    "$(winpath "$target")" > "$dir/FlashGui.txt"
  local start; start=$(now)
  "$TQ_WINE" "$dir/Sorvex.exe" Sample.msi FlashGui.exe </dev/null >/dev/null 2>&1 &
  local pid=$!
  until grep -q '^received: <Finished/>' "$dir/FlashGui.log" 2>/dev/null; do
    kill -0 $pid 2>/dev/null || fail "Sorvex ended before the installation finished"
    sleep 0.05
  done
  local end; end=$(now)
  wait $pid || true
  remove "$target"
  python3 -c "print('%.3f' % ($end - $start))"
}

msiexec_round() {
  local target="$work/msiexec-target"
  rm -rf "$target"
  local start; start=$(now)
  "$TQ_WINE" msiexec /i "$(winpath "$package")" /qn TARGETDIR="$(winpath "$target")" </dev/null >/dev/null 2>&1 \
    || fail "msiexec failed"
  local end; end=$(now)
  remove "$target"
  python3 -c "print('%.3f' % ($end - $start))"
}

mkdir -p "$work"
remove "$work/sorvex-target"
s_total=0; m_total=0
for i in $(seq 1 "$rounds"); do
  s=$(sorvex_round); m=$(msiexec_round)
  echo "round $i: Sorvex ${s} s, msiexec /qn ${m} s"
  s_total=$(python3 -c "print($s_total + $s)"); m_total=$(python3 -c "print($m_total + $m)")
done
python3 - "$s_total" "$m_total" "$rounds" <<'PY'
import sys
s, m, n = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
print("mean: Sorvex %.3f s, msiexec /qn %.3f s, ratio %.3f (goal: at most 1.10)" % (s / n, m / n, s / m))
PY
