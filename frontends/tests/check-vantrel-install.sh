#!/usr/bin/env bash
# A distribution installs through its HTML front-end, end to end under Wine
# with the real programs: the example's Setup.exe (make-html-example.sh)
# unpacks into a fresh folder of its own inside a temporary folder of the
# test's own and starts the bootstrap stand-in, which starts the real
# Vantrel.exe with setup.ini's five arguments; tqdrive walks Vantrel's pages as
# a user does: Welcome, the licence (accepted by a click on its label), Readme,
# customer information, the proposed destination, the proposed group, Typical,
# the summary, Install, the progress page, the end page, Finish and
# "Installed By". Then:
#  - the bootstrap started Vantrel with the five arguments and it ended with 0;
#  - the installer got the exact property string (Vantrel.log) and its
#    Property(S) lines show the chosen TARGETDIR, GROUP and ADDDEFAULT;
#  - the package's Typical files are in the destination byte for byte, the
#    optional one is not;
#  - setup.ini holds the program group's full path as Group.
#  - removed again by its package, the product's files go.
# (The removal also runs on every exit.)
#   check-vantrel-install.sh TOOLS_DIR OUT_DIR   (OUT_DIR: make-html-example.sh's)
set -euo pipefail
tools_dir="$1"; out="$(cd "$2" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
files="$here/examples/Sample/files"
package="$out/project/1.0.0/Sample.msi"
setup="$out/project/1.0.0/CD-Image/Setup.exe"
temp="$out/temp"
[ -f "$setup" ] && [ -f "$package" ] || fail "no $setup (make-html-example.sh first)"
# The removal needs the destination (the package sets TARGETDIR itself
# otherwise); before the run, the one Vantrel proposes.
target_win='C:\Program Files\Quill Works\Sample'
remove() {
  "$TQ_WINE" msiexec /x "$(winpath "$package")" /qn TARGETDIR="$target_win" </dev/null >/dev/null 2>&1 || true
}
remove
trap remove EXIT
rm -rf "$temp"
mkdir -p "$temp"

status=0
drive="$("$TQ_WINE" "$tools_dir/tqdrive.exe" --set "TEMP=$(winpath "$temp")" --set "TMP=$(winpath "$temp")" \
  --window "Tarnquill Vantrel Installation" "$(winpath "$setup")" -- \
  "timeout:${TQ_VANTREL_WAIT:-600}" "answer:Installed By=OK" \
  "wait:This setup will install" "click:Next >" \
  "wait:I accept the terms!You must" "mouse:I accept the terms of the license agreement" "click:Next >" \
  "wait:Please read the following information!You must" "click:Next >" \
  "wait:Product key:" "click:Next >" \
  "wait:Destination Folder" "click:Next >" \
  "wait:Existing groups:" "click:Next >" \
  "wait:Choose the kind of installation" "click:Next >" \
  "wait:Installation Type:!Error setting summary" "click:Install" \
  "wait:Installation Complete!Unable to install!Error or Cancel" "click:Finish" "answered:Installed By" </dev/null 2>&1 | tr -d '\r')" || status=$?
run="$(find "$temp" -mindepth 1 -maxdepth 1 -type d -name 'Setup-*' | head -1)"
show() {
  echo "$drive"
  echo "== $temp:"; ls -la "$temp" "$run" 2>&1 || true
  for f in Install.log Vantrel.log; do
    echo "== $f"; tr -d '\r' 2>/dev/null < "$run/$f" | grep -v "^Property\|^MSI (\|^Action" | tail -40 || true
  done
}
[ "$status" -eq 0 ] || { show; fail "driving the setup ended with $status"; }
grep -qx "window's program exit code: 0" <<<"$drive" || { show; fail "Vantrel did not end with 0"; }
grep -qx 'answered "Installed By" with OK' <<<"$drive" || { show; fail "Vantrel ended without showing \"Installed By\""; }
[ -n "$run" ] || { show; fail "Setup.exe made no Setup-* folder in $temp"; }
log="$(tr -d '\r' < "$run/Vantrel.log")"
grep -qF "Install succeeded" <<<"$log" || { show; fail "Vantrel did not report success"; }

# The bootstrap started Vantrel with setup.ini's names.
ini="$(tr -d '\r' < "$run/setup.ini")"
key() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" <<<"$ini" | head -1; }
msi="$(key Setup Msiname)"
started="\\Vantrel.exe\" \"$msi\""
for page in Welcome Finish Custom Progress; do started+=" \"$(key Vantrel "$page")\""; done
grep -qF "$started" <<<"$(tr -d '\r' < "$run/Install.log")" 2>/dev/null || { show; fail "the bootstrap did not start $started"; }

# The exact property string: the proposed destination (Program Files, the
# manufacturer, the package's base name), the group's full path and the
# Typical features (Level 4 or less: Core_Program and Tools).
line="$(grep -m1 '^Installing ' <<<"$log")"
target_win="$(sed -n 's/.* with MSIRUN=0 TARGETDIR="\([^"]*\)".*/\1/p' <<<"$line")"
[[ "$target_win" == *'\Quill Works\Sample' ]] || { show; fail "unexpected destination in: $line"; }
group_win="$(sed -n 's/.* GROUP="\([^"]*\)".*/\1/p' <<<"$line")"
[[ "$group_win" == *'\Programs\Sample' ]] || { show; fail "no group path in: $line"; }
want="Installing $(winpath "$run")\\$msi with MSIRUN=0 TARGETDIR=\"$target_win\" GROUP=\"$group_win\" ADDDEFAULT=\"BRINDLEREGDATA,Core_Program,Tools\""
[ "${line,,}" = "${want,,}" ] || { show; fail "property string: '$line' != '$want'"; }
for p in "TARGETDIR = $target_win" "GROUP = $group_win" "ADDDEFAULT = BRINDLEREGDATA,Core_Program,Tools"; do
  grep -qiF "Property(S): $p" <<<"$log" || { show; fail "no Property(S) line \"$p\""; }
done

# The files, byte for byte, where the installer put them.
target="$("$TQ_WINE" winepath -u "$target_win" 2>/dev/null | tr -d '\r')"
for f in "Read Me.txt" license.txt "bin/tool.dll" "docs/Sam's Notes.txt"; do
  cmp -s "$files/$f" "$target/$f" || { show; fail "$f is not installed as its source in $target"; }
done
[ ! -e "$target/bin/plug ins/extra plug.dat" ] || fail "the optional plug-in was installed"

group_line="$(grep '^Group=' <<<"$ini" || true)"
[ "${group_line,,}" = "group=${group_win,,}" ] || fail "setup.ini Group: '$group_line' (want $group_win)"

# Removed by its package, the files go again.
remove
[ ! -e "$target/Read Me.txt" ] && [ ! -e "$target/bin/tool.dll" ] || fail "removing the product left its files in $target"
# A passed check leaves no unpacked copy behind (a failed one stays to be looked at).
rm -rf "$temp"
echo "HTML distribution installed into $target_win, group $group_win"
