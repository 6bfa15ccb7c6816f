#!/usr/bin/env bash
# Drives the real Tarnquill.exe under Wine as a user would (tqdrive) through a
# merge-module project and a package that takes it in:
#  1. a merge-module project (written by tqexample --module) is opened, given a
#     new module code, built into a .msm, and saved on closing;
#  2. opened again: its one choice keeps its name, and it builds again;
#  3. msiinfo reads the .msm: its ModuleSignature and ModuleComponents rows
#     carry the module id of the new code, its cabinet is stored;
#  4. the example package with the module on its Modules page is built; msitools
#     reads the merged tables and msiextract yields the module's files below
#     "bin", byte for byte;
#  5. Windows Installer installs the merged package: the module's files land
#     below the redirect folder byte for byte.
#   check-module-project.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

quiet_program_copy "$program_dir" "$work"
files="$here/examples/Sample/files"
tab=$(printf '\t')

drive() {  # drive PROJECT STEPS... : prints tqdrive's output, fails on a failed drive
  local out status=0
  out="$("$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$1")" -- "${@:2}" \
    </dev/null 2>&1 | tr -d '\r')" || status=$?
  echo "$out"
  grep -qx "exit code: 0" <<<"$out" || fail "driving Tarnquill on $1 failed ($status)"
}

# 1. Open, edit, build, save.
module_project="$work/Shared/2.1.0/Shared.ipr"
"$TQ_WINE" "$tools_dir/tqexample.exe" --module "$(winpath "$files")" "$(winpath "$module_project")" >/dev/null
drive "$module_project" "answer:needs saving=Yes" "show:Info" "mouse:New GUID" "click:Build" "wait:Build Complete!Build Error"
msm="$work/Shared/2.1.0/Shared.msm"
[ -f "$msm" ] || fail "no merge module was built"
first_build=$(msiinfo export "$msm" ModuleSignature | tr -d '\r' | tail -n +4)

# 2. Opened again: the choice keeps its name; built again.
rm -f "$msm"
drive "$module_project" "wait:Shared_Files" "click:Build" "wait:Build Complete!Build Error"
[ -f "$msm" ] || fail "the reopened project built no merge module"

# 3. The module's signature: the edited (saved) code, not the one tqexample wrote.
signature=$(msiinfo export "$msm" ModuleSignature | tr -d '\r' | tail -n +4)
echo "signature: $signature"
[ "$signature" = "$first_build" ] || fail "the saved project builds another signature: $first_build / $signature"
id=$(cut -f1 <<<"$signature")
case $id in
  "Shared Files."????????_????_????_????_????????????) ;;
  *) fail "module id $id" ;;
esac
[ "$id" != "Shared Files.3C4D5E6F_7A8B_4C9D_8E0F_1A2B3C4D5E6F" ] || fail "the new module code was not saved"
[ "$(cut -f2- <<<"$signature")" = "1033${tab}2.1.0" ] || fail "signature language and version: $signature"
components=$(msiinfo export "$msm" ModuleComponents | tr -d '\r' | tail -n +4)
[ "$(wc -l <<<"$components")" = 2 ] || fail "ModuleComponents rows: $components"
while IFS="$tab" read -r _ mid lang; do
  [ "$mid" = "$id" ] && [ "$lang" = 1033 ] || fail "ModuleComponents row names $mid $lang"
done <<<"$components"
msiinfo streams "$msm" | grep -qx MergeModule.CABinet || fail "the module's cabinet is not stored"
suffix=${id#Shared Files.}

# 4. The example package with the module merged into Tools, below bin.
package_project="$work/Sample/1.0.0/Sample.ipr"
"$TQ_WINE" "$tools_dir/tqexample.exe" --merge "$(winpath "$msm")" "$(winpath "$files")" "$(winpath "$package_project")" >/dev/null
# The example's HTML setup: its fonts and pages first, the page reminder answered.
drive "$package_project" "answer:needs saving=No" "${html_pages_steps[@]}" "click:Build" \
  "wait:Build Complete!Build Error"
pkg="$work/Sample/1.0.0/Sample.msi"
[ -f "$pkg" ] || fail "no package was built"
export_has() {  # table, pattern (grep -E, on the tab-separated rows)
  msiinfo export "$pkg" "$1" | tr -d '\r' | grep -qE "$2" || fail "$1 has no row like $2"
}
export_has Directory "^lib\\.$suffix${tab}bin${tab}"
export_has File "^FILE2Stool\\.dll\\.$suffix${tab}"
export_has FeatureComponents "^Tools${tab}COMP1SRead Me\\.txt\\.$suffix\$"
grep -q "Merge error" "$prog/msm.log" && fail "merge errors: $(cat "$prog/msm.log")"
msiextract -C "$work/extracted" "$pkg" > "$work/extracted.txt"
found=$(find "$work/extracted" -ipath "*/bin/lib/tool.dll" -type f | head -n 1)
[ -n "$found" ] || fail "msiextract did not place bin/lib/tool.dll: $(cat "$work/extracted.txt")"
cmp "$found" "$files/bin/tool.dll" || fail "the module's tool.dll differs"
found=$(find "$work/extracted" -ipath "*/bin/Read Me.txt" -type f | head -n 1)
[ -n "$found" ] || fail "msiextract did not place bin/Read Me.txt"
cmp "$found" "$files/Read Me.txt" || fail "the module's Read Me.txt differs"

# 5. Installed by Windows Installer (an earlier run's install is removed first),
# and removed again.
product="{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B6C}"
"$TQ_WINE" msiexec /x "$product" /qn </dev/null >/dev/null 2>&1 || true
target="$work/target"
"$TQ_WINE" msiexec /i "$(winpath "$pkg")" /qn /l*v "$(winpath "$work/install.log")" \
  ADDLOCAL=ALL TARGETDIR="$(winpath "$target")" </dev/null >/dev/null 2>&1 ||
  fail "installing the merged package failed: $(tr -d '\0' <"$work/install.log" | tail -n 30)"
cmp "$target/bin/lib/tool.dll" "$files/bin/tool.dll" || fail "installed bin/lib/tool.dll differs"
cmp "$target/bin/Read Me.txt" "$files/Read Me.txt" || fail "installed bin/Read Me.txt differs"
"$TQ_WINE" msiexec /x "$product" /qn TARGETDIR="$(winpath "$target")" </dev/null >/dev/null 2>&1 ||
  fail "removing the merged package failed"
[ ! -e "$target/bin/lib/tool.dll" ] || fail "the module's tool.dll stayed after removal"
echo "merge-module project checks passed"
