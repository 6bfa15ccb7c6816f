#!/usr/bin/env bash
# The main job: installs every dependency, builds the programs, writes the shipped
# example project and has Tarnquill build it, headless under Wine, as a user
# would: open the project, generate its HTML setup pages, press Build, answer
# the page reminder, wait for the status. The last line printed is the
# package's path; the distribution with the pages is CD-Image/Setup.exe beside it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash .ci/install-deps.sh
export TQ_WINE_ROOT="$root/build/wine-demo"
# shellcheck source=wine-env.sh
source tools/wine-env.sh
# The shipped 32-bit programs, or the x86_64 build where Wine cannot run those.
build=build/$TQ_WINDOWS_BUILD
toolchain=mingw-i686.cmake
[ "$TQ_WINDOWS_BUILD" = win64 ] && toolchain=mingw-x86_64.cmake
[ -f $build/CMakeCache.txt ] || cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
cmake --build $build -j "$(nproc)" >/dev/null
win() { local p="Z:$1"; echo "${p//\//\\}"; }

project="$root/$build/examples/Sample/1.0.0/Sample.ipr"
rm -rf "$root/$build/examples/Sample"
"$TQ_WINE" $build/tools/tqexample.exe "$(win "$root/examples/Sample/files")" "$(win "$project")" >/dev/null
"$TQ_WINE" $build/tools/tqdrive.exe $build/program/Tarnquill.exe "$(win "$project")" -- \
  "answer:needs saving=No" "answer:Generate Html Pages Reminder=OK" "answer:Boilerplate Options=OK" \
  "click:Font And Color Options" "answered:Boilerplate Options" \
  "click:Generate The Pages Now" "click:Build" "wait:Build Complete!Build Error"
wineserver -k 2>/dev/null || true
package="${project%.ipr}.msi"
[ -f "$package" ] || { echo "no package was written" >&2; exit 1; }
[ -f "$(dirname "$package")/TQSetup.htm" ] || { echo "no setup pages were generated" >&2; exit 1; }
[ -f "$(dirname "$package")/CD-Image/Setup.exe" ] || { echo "no distribution was laid out" >&2; exit 1; }
echo "$package"
