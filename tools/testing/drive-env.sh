# Sourced by the checks that drive the real programs under Wine: the Wine
# environment (unless the test run set it up already), fail and winpath.
if [ -z "${TQ_WINE:-}" ]; then
  # shellcheck source=../wine-env.sh
  source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/wine-env.sh"
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
