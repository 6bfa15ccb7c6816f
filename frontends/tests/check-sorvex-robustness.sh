#!/usr/bin/env bash
# Runs the Python client check against the real Sorvex.exe with the package the
# Flash example build left (make-flash-example.sh).
#   check-sorvex-robustness.sh BUILD_DIR OUT_DIR
set -euo pipefail
build="$1"; out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
exec python3 "$here/frontends/tests/check_sorvex_robustness.py" "$TQ_WINE" "$build/program/Sorvex.exe" \
  "$out/project/1.0.0/Sample.msi" "$out/robustness"
