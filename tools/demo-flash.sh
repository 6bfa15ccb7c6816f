#!/usr/bin/env bash
# The Flash front-end's demonstration. tools/demo.sh first (dependencies, the
# build, the example's package); then Tarnquill builds the example's Flash
# variant (Gui page: Sorvex, with the GUI stand-in standins/FlashGui.cpp as the
# movie) and its Setup.exe runs headless under Wine: the bootstrap starts
# Sorvex, Sorvex starts the stand-in, the stand-in walks the protocol for a
# Typical install into build/<kind>/demo-flash/target. Prints what the stand-in
# exchanged and Sorvex's log; the product is removed again at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/demo.sh >/dev/null
export TQ_WINE_ROOT="$root/build/wine-demo"
# shellcheck source=wine-env.sh
source tools/wine-env.sh
build="$root/build/$TQ_WINDOWS_BUILD"
out="$build/demo-flash"
bash frontends/tests/make-flash-example.sh "$build" "$out"
bash frontends/tests/check-sorvex-install.sh "$build" "$out"
echo "== what the GUI stand-in sent and received"
tr -d '\r' < "$out/temp/FlashGui.log"
echo "== Sorvex.log (without the installer's action lines)"
tr -d '\r' < "$out/temp/Sorvex.log" | grep -v "^Action \|^$" | tail -40
wineserver -k 2>/dev/null || true
