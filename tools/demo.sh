#!/usr/bin/env bash
# The main job: installs every dependency, builds the programs and runs Tarnquill
# on the shipped example project, headless under Wine, as a user would.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash .ci/install-deps.sh
[ -f build/win64/CMakeCache.txt ] || cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build build/win64 -j "$(nproc)" >/dev/null
export TQ_WINE_ROOT="$root/build/wine-demo"
# shellcheck source=wine-env.sh
source tools/wine-env.sh
"$TQ_WINE" build/win64/tools/tqdrive.exe build/win64/program/Tarnquill.exe \
  "Z:${root//\//\\}\\examples\\Sample\\1.0\\Sample.ipr"
wineserver -k 2>/dev/null || true
