#!/usr/bin/env bash
# Screenshots of setup page snippets as the page view draws them.
#   platform/htmlview/tests/htmlview-screenshot.sh OUT_FOLDER [PAGE.ins ...] (default: every page)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
out="$1"; shift
mkdir -p "$out"
source "$here/tools/wine-env.sh"
exe="$here/build/$TQ_WINDOWS_BUILD/platform/htmlview/HtmlViewShow.exe"
pages=("$@")
[ ${#pages[@]} -gt 0 ] || pages=(CustInfo.ins Location.ins Group.ins License.ins InstallType.ins Custom.ins Install.ins Progress.ins Finish.ins)
for page in "${pages[@]}"; do
  SHOT_READY='^shown' SHOT_WAIT=2 SHOT_DISPLAY="${SHOT_DISPLAY:-:61}" \
    "$here/tools/screenshot.sh" "$out/${page%.ins}.png" "$exe" "Z:${here//\//\\}\\data\\pages\\$page"
done
