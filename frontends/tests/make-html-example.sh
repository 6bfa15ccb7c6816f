#!/usr/bin/env bash
# Builds the example project (its setup uses the HTML front-end) with the real
# Tarnquill on a copy of the program directory, as a user would (tqdrive): the
# setup's fonts and pages are made, the page reminder answered, Build pressed.
#   make-html-example.sh PROGRAM_DIR TOOLS_DIR OUT_DIR
# Leaves OUT/project/1.0.0/Sample.msi and OUT/project/1.0.0/CD-Image/Setup.exe.
set -euo pipefail
program_dir="$1"; tools_dir="$2"; out="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
quiet_program_copy "$program_dir" "$out"
project="$out/project/1.0.0/Sample.ipr"
"$TQ_WINE" "$tools_dir/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$(winpath "$project")" \
  </dev/null >/dev/null
status=0
drive="$("$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
  "answer:needs saving=No" "${html_pages_steps[@]}" "click:Build" "wait:Build Complete!Build Error" \
  </dev/null 2>&1 | tr -d '\r')" || status=$?
echo "$drive"
grep -qx "exit code: 0" <<<"$drive" || fail "driving Tarnquill's build failed ($status)"
setup="$out/project/1.0.0/CD-Image/Setup.exe"
[ -f "$setup" ] || fail "the build wrote no CD-Image/Setup.exe"
unzip -Z1 "$setup" | tr -d '\r' > "$out/members.txt"
for m in Vantrel.exe TQSetup.htm TqWelcome.htm TqFinish.htm setup.ini Install.exe Sample.msi; do
  grep -qxF "$m" "$out/members.txt" || fail "Setup.exe lacks $m"
done
# The program copy served its build; the check needs only the project's output.
rm -rf "$prog"
echo "HTML variant built: $setup"
