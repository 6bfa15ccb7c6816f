#!/usr/bin/env bash
# Starts a Windows program under Wine on a virtual X display and saves a PNG of
# the screen after it had time to draw.
#   tools/screenshot.sh OUT.png PROGRAM.exe [ARGS...]
# Environment: SHOT_WAIT seconds before the picture (default 6), SHOT_DISPLAY
# (default :99), SHOT_SIZE (default 1024x768x24), TQ_WINE_ROOT (default
# build/screenshot-wine: a prefix of its own, as it uses the X11 driver).
# SHOT_READY: an extended regular expression; when set, the picture is taken
# SHOT_WAIT seconds (default 1) after a line of the program's output matches it
# or the program ends (at the latest SHOT_TIMEOUT, default 120, seconds after
# the start), and the program's output is printed after the picture.
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
log="$(mktemp)"
"$TQ_WINE" "$@" </dev/null >"$log" 2>&1 &
prog=$!
if [ -n "${SHOT_READY:-}" ]; then
  for _ in $(seq $((${SHOT_TIMEOUT:-120} * 5))); do
    tr -d '\r' <"$log" | grep -Eq "$SHOT_READY" && break
    kill -0 "$prog" 2>/dev/null || break
    sleep 0.2
  done
  sleep "${SHOT_WAIT:-1}"
else
  sleep "${SHOT_WAIT:-6}"
fi
import -display "$display" -window root "$out"
kill "$prog" 2>/dev/null || true
wait "$prog" 2>/dev/null || true
[ -z "${SHOT_READY:-}" ] || tr -d '\r' <"$log"
rm -f "$log"
wineserver -k 2>/dev/null || true  # this prefix's server only
if [ -n "$started_xvfb" ]; then
  kill "$started_xvfb" 2>/dev/null || true
fi
echo "saved $out"
