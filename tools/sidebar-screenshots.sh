#!/usr/bin/env bash
# Pictures of Tarnquill's main window and its side bar, driven from outside
# (tqdrive) on the example project: at the design size, scrolled down to the
# Modules page, and maximised.
#   tools/sidebar-screenshots.sh OUT_DIR [BUILD]
# BUILD is the Windows build folder (default build/win32). Writes
# OUT_DIR/sidebar-design.png, sidebar-scrolled.png and sidebar-maximised.png.
# Environment: that of tools/screenshot.sh.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 OUT_DIR [BUILD]" >&2
  exit 2
fi
mkdir -p "$1"
out="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${2:-$here/build/win32}" && pwd)"
export TQ_DISPLAY=x11
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$here/build/screenshot-wine}"
win() { local p="Z:$1"; echo "${p//\//\\}"; }

project="$build/examples/SampleSideBar/Sample.ipr"
rm -rf "$build/examples/SampleSideBar"
set +e  # the environment script's server start may report an already running server
# shellcheck source=tools/wine-env.sh
source "$here/tools/wine-env.sh"
set -e
# Wine places its windows itself (the display has no window manager), so that
# a maximised window really fills the screen.
"$TQ_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
"$TQ_WINE" "$build/tools/tqexample.exe" "$(win "$here/examples/Sample/files")" "$(win "$project")" >/dev/null
wineserver -k 2>/dev/null || true  # each picture's run starts its own server on the display

shot() {  # shot NAME STEPS... : drives the window, then takes the picture
  local name="$1"; shift
  SHOT_READY='^(bounds: |tqdrive: )' SHOT_WAIT="${SHOT_WAIT:-2}" bash "$here/tools/screenshot.sh" "$out/sidebar-$name.png" \
    "$build/tools/tqdrive.exe" "$build/program/Tarnquill.exe" "$(win "$project")" -- \
    "linger:60000" "answer:needs saving=No" "$@" "sleep:500" "bounds" "sleep:60000"
}
rm -f "$build/program/elfrm.ini"
shot design "size:670x452" "mouse:Info"
shot scrolled "size:670x452" "mouse:@93,86" "mouse:@93,86" "mouse:@93,86" "mouse:Modules"
shot maximised "size:670x452" "maximize" "mouse:Gui"
rm -f "$build/program/elfrm.ini"
