#!/usr/bin/env bash
# Builds everything and runs every test:
#  - build/win32: the shipped 32-bit programs (i686) and their tests, run by ctest
#    under Wine;
#  - build/win64: the same sources as x86_64 programs, tested instead of win32 on
#    a kernel that cannot run Wine's 32-bit loader (TQ_TEST_BUILD=win64 forces it);
#  - build/native: the portable core with the sanitizers, its tests run natively.
# Prints ctest's summaries; exits non-zero when anything fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

configure() {  # dir, extra args...
  local dir="$1"; shift
  [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
configure build/native
configure build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
cmake --build build/native -j "$jobs"
cmake --build build/win32 -j "$jobs"

export TQ_WINE_ROOT="$root/build/wine"
# shellcheck source=wine-env.sh
source tools/wine-env.sh
windows=build/${TQ_TEST_BUILD:-$TQ_WINDOWS_BUILD}
if [ "$windows" = build/win64 ]; then
  echo "== testing the x86_64 build"
  configure build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
  cmake --build build/win64 -j "$jobs"
fi

status=0
echo "== native tests (sanitizers)"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1

echo "== Windows tests under Wine ($windows)"
(cd "$windows" && ctest --output-on-failure -j "$jobs") || status=1
wineserver -k 2>/dev/null || true
exit $status
