#!/usr/bin/env bash
# The example project's HTML setup, made and built through the real Tarnquill
# window under Wine as a publisher would (tqdrive): open the project, press
# "Generate The Pages Now", press Build and answer the page reminder with OK.
# Then the pages in the distribution's Setup.exe are checked with html5lib and
# the package's licence dialog with msitools.
#   check-example-pages.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

quiet_program_copy "$program_dir" "$work"
folder="$work/Sample/1.0.0"
project="$folder/Sample.ipr"
"$TQ_WINE" "$tools_dir/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$(winpath "$project")" >/dev/null

out="$("$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
  "answer:needs saving=No" "answer:Generate Html Pages Reminder=OK" "answer:Boilerplate Options=OK" \
  "click:Font And Color Options" "answered:Boilerplate Options" \
  "click:Generate The Pages Now" "click:Build" "wait:Build Complete!Build Error" </dev/null 2>&1 |
  tr -d '\r')"
echo "$out"
grep -qx 'answered "Generate Html Pages Reminder" with OK' <<<"$out" || fail "the page reminder was not shown"
grep -qx "saw Build Complete" <<<"$out" || fail "the build did not complete"
for page in TQSetup.htm TqWelcome.htm TqLicense.htm TqProgress.htm TqFinish.htm; do
  [ -f "$folder/$page" ] || fail "no $page in the project folder"
done

# The distribution as the end user's machine unpacks it.
unpacked="$work/unpacked"
mkdir -p "$unpacked"
status=0
unzip -qo "$folder/CD-Image/Setup.exe" -d "$unpacked" || status=$?
[ "$status" -le 1 ] || fail "unzip cannot read Setup.exe ($status)"
ls "$unpacked"
/usr/bin/python3 "$here/builder/tests/check_setup_pages.py" "$unpacked" \
  "$here/examples/Sample/setup/License.txt" "$here/examples/Sample/setup/Readme.txt"

# The installer's own licence dialog holds the licence as rich text, with the
# apostrophes, backslashes and braces of the text intact.
msiinfo export "$folder/Sample.msi" Control >"$work/Control.idt"
/usr/bin/python3 - "$work/Control.idt" "$here/examples/Sample/setup/License.txt" <<'PY'
import re, sys
rows = re.split(r"\r?\n", open(sys.argv[1], encoding="cp1252", newline="").read())
text = open(sys.argv[2], encoding="cp1252", newline="").read()
body = text.replace("\r", "").replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}").replace("\n", " \\par ")
want = "{\\rtf1\\ansi \\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\plain\\fs18 " + body + "}"
for row in rows:
    fields = row.split("\t")
    if fields[:2] == ["LicenseAgreementDlg", "AgreementText"]:
        shown = fields[9] if len(fields) > 9 else ""
        # msiinfo writes tabs, line ends and backslashes of a value escaped.
        if shown.replace("\\\\", "\\") != want and shown != want:
            sys.exit("licence dialog text:\n%r\nwanted:\n%r" % (shown, want))
        print("licence dialog text intact")
        break
else:
    sys.exit("no AgreementText control")
PY
echo "example page checks passed"
