#!/usr/bin/env bash
# Drives the real Tarnquill.exe from outside (tqdrive) at its design size, on a
# copy of the program directory: every one of the twelve pages is reached
# through the side bar alone, scrolling with its spin button where the items do
# not fit, and a build is started from the Build page so reached. Then the
# window's state file: written beside the program and bringing the window back
# where it was.
#   check-sidebar.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

quiet_program_copy "$program_dir" "$work"
mkdir -p "$work/proj"
rm -f "$prog/elfrm.ini" "$prog/opendlg.ini" "$prog/Recent.dat"
project="$(winpath "$work/proj/Sample.ipr")"
"$TQ_WINE" "$tools_dir/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$project" >/dev/null

drive() {  # drive STEPS... : prints tqdrive's output, then "code: N"
  local code=0
  "$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$project" -- "$@" </dev/null >"$work/out" 2>&1 ||
    code=$?
  tr -d '\r' <"$work/out"
  echo "code: $code"
}

# At the design size the bar holds six items; the spin button's lower arrow
# lies at the bar's right edge, under the header and a 45-pixel spacer.
design=(answer:needs\ saving=No size:670x452 bounds)
spin_down="mouse:@93,86"

# 1. Without scrolling the seventh page is out of reach.
out="$(drive "${design[@]}" mouse:Associations)"
echo "$out"
grep -qx "code: 94" <<<"$out" || fail "Associations could be clicked without scrolling"

# 2. Every page through the side bar; each page must show because of the
# click, never because the driver brought it forward.
steps=("${design[@]}")
for page in Info Directories Choices Registry Shortcuts Environment; do
  steps+=("mouse:$page" "show:$page")
done
for page in Associations Modules Gui Msi Build Updates; do
  steps+=("$spin_down" "mouse:$page" "show:$page")
done
# One step back up brings Build (the eleventh) into view again.
# The example's HTML setup: its fonts and pages first, the page reminder answered.
steps+=("${html_pages_steps[@]}")
steps+=("mouse:@93,73" "mouse:Build" "show:Build" "click:Build" "wait:Build Complete!Build Error" "bounds")
out="$(drive "${steps[@]}")"
echo "$out"
for page in Info Directories Choices Registry Shortcuts Environment Associations Modules Gui Msi Build Updates; do
  grep -qx "page $page is showing" <<<"$out" || fail "the side bar did not show the $page page"
done
! grep -q "^brought page" <<<"$out" || fail "a page was not shown by the side bar"
grep -qx "saw Build Complete" <<<"$out" || fail "the build started from the Build page did not complete"
[ -f "$work/proj/Sample.msi" ] || fail "no package was built"
msiinfo tables "$work/proj/Sample.msi" | grep -qx File || fail "the package has no File table"
grep -qx "bounds: .*,670,452" <<<"$out" || fail "the window left its design size"

# 3. The state file lies beside the program; the next start comes back at the
# same place and size, and a corrupt file is ignored.
[ -f "$prog/elfrm.ini" ] || fail "no state file beside the program"
[ ! -f "$work/proj/elfrm.ini" ] || fail "a state file in the project folder"
out="$(drive size:700x500 bounds)"
echo "$out"
was="$(grep '^bounds:' <<<"$out" | tail -1)"
out="$(drive bounds)"
echo "$out"
grep -qx "$was" <<<"$out" || fail "the window did not come back as it was ($was)"
printf 'not a state file' >"$prog/elfrm.ini"
out="$(drive bounds)"
echo "$out"
grep -q "^bounds: [0-9]*,[0-9]*,[1-9][0-9]*,[1-9][0-9]*$" <<<"$out" || fail "a corrupt state file lost the window"
echo "side-bar checks passed"
