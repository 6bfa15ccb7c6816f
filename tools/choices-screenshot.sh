#!/usr/bin/env bash
# A picture of Tarnquill's Choices page listing a choice's files. Writes the
# example project, opens it in the real Tarnquill.exe and drives it from outside
# (tqdrive) as a user would: the side bar's Choices item, the choice Tools, its
# directory bin; the picture is taken once tool.dll shows in the file list.
#   tools/choices-screenshot.sh OUT.png [BUILD]
# BUILD is the Windows build folder (default build/win32). Environment: that of
# tools/screenshot.sh. Ends with 1 when the file never showed; the picture then
# shows the window as the driving left it.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 OUT.png [BUILD]" >&2
  exit 2
fi
out="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${2:-$here/build/win32}" && pwd)"
export TQ_DISPLAY=x11
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$here/build/screenshot-wine}"
win() { local p="Z:$1"; echo "${p//\//\\}"; }

mkdir -p "$(dirname "$out")"
project="$build/examples/SampleChoices/Sample.ipr"
rm -rf "$build/examples/SampleChoices"
set +e  # the environment script's server start may report an already running server
# shellcheck source=tools/wine-env.sh
source "$here/tools/wine-env.sh"
set -e
"$TQ_WINE" "$build/tools/tqexample.exe" "$(win "$here/examples/Sample/files")" "$(win "$project")" >/dev/null
wineserver -k 2>/dev/null || true  # the picture's run starts its own server on the display

# The side bar's item pictures carry their captions: Choices is clicked by name.
result="$(SHOT_READY='^(saw tool\.dll|tqdrive: )' bash "$here/tools/screenshot.sh" "$out" \
  "$build/tools/tqdrive.exe" "$build/program/Tarnquill.exe" "$(win "$project")" -- \
  "linger:60000" "mouse:Choices" "mouse:Tools" "wait:The tool library" \
  "mouse:bin" "wait:tool.dll" "sleep:60000")"
echo "$result"
grep -qx "saw tool.dll" <<<"$result" || { echo "the Choices page never listed tool.dll" >&2; exit 1; }
