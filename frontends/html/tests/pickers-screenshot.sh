#!/usr/bin/env bash
# Screenshot of the folder dialog as Vantrel shows it.
#   frontends/html/tests/pickers-screenshot.sh OUT.png [build dir, default build/<windows build>]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
out="$1"
build="${2:-}"
if [ -z "$build" ]; then
  source "$here/tools/wine-env.sh"
  build="$here/build/$TQ_WINDOWS_BUILD"
fi
SHOT_READY='^shown' SHOT_WAIT=2 SHOT_DISPLAY="${SHOT_DISPLAY:-:61}" \
  "$here/tools/screenshot.sh" "$out" "$build/frontends/html/tests/PickersShow.exe"
