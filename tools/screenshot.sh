#!/usr/bin/env bash
# Starts a Windows program under Wine on a virtual X display and saves a PNG of
# the screen after it had time to draw.
#   tools/screenshot.sh OUT.png PROGRAM.exe [ARGS...]
# Environment: SHOT_WAIT seconds before the picture (default 6), SHOT_DISPLAY
# (default :99), SHOT_SIZE (default 1024x768x24), TQ_WINE_ROOT (default
# build/screenshot-wine: a prefix of its own, as it uses the X11 driver).
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 OUT.png PROGRAM.exe [ARGS...]" >&2
  exit 2
fi
out="$1"; shift
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
display="${SHOT_DISPLAY:-:99}"
started_xvfb=""
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 "${SHOT_SIZE:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  started_xvfb=$!
  for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
fi
export DISPLAY="$display"
export TQ_DISPLAY=x11
export TQ_WINE_ROOT="${TQ_WINE_ROOT:-$here/build/screenshot-wine}"
set +e  # the environment script's server start may report an already running server
# shellcheck source=tools/wine-env.sh
source "$here/tools/wine-env.sh"
set -e
"$TQ_WINE" "$@" </dev/null >/dev/null 2>&1 &
prog=$!
sleep "${SHOT_WAIT:-6}"
import -display "$display" -window root "$out"
kill "$prog" 2>/dev/null || true
wait "$prog" 2>/dev/null || true
wineserver -k 2>/dev/null || true  # this prefix's server only
if [ -n "$started_xvfb" ]; then
  kill "$started_xvfb" 2>/dev/null || true
fi
echo "saved $out"
