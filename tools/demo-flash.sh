#!/usr/bin/env bash
# The Flash front-end's demonstration: installs every dependency and builds the
# programs (as tools/demo.sh does), has Tarnquill build the example's Flash
# variant (Gui page: Sorvex, with the GUI stand-in standins/FlashGui.cpp as the
# movie), then runs its Setup.exe headless under Wine: the bootstrap starts
# Sorvex, Sorvex starts the stand-in, the stand-in walks the protocol for a
# Typical install into build/<kind>/demo-flash/target. Prints what the stand-in
# received and Sorvex's log; the product is removed again at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash .ci/install-deps.sh
export TQ_WINE_ROOT="$root/build/wine-demo"
# shellcheck source=wine-env.sh
source tools/wine-env.sh
build=build/$TQ_WINDOWS_BUILD
toolchain=mingw-i686.cmake
[ "$TQ_WINDOWS_BUILD" = win64 ] && toolchain=mingw-x86_64.cmake
[ -f $build/CMakeCache.txt ] || cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
cmake --build $build -j "$(nproc)" >/dev/null
out="$root/$build/demo-flash"
bash frontends/tests/make-flash-example.sh "$root/$build" "$out"
bash frontends/tests/check-sorvex-install.sh "$root/$build" "$out"
echo "== what the GUI stand-in sent and received"
tr -d '\r' < "$out/temp/FlashGui.log"
echo "== Sorvex.log"
tr -d '\r' < "$out/temp/Sorvex.log" | grep -v "^Action \|^$" | tail -40
wineserver -k 2>/dev/null || true
