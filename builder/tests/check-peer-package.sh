#!/bin/sh
# Reads the package that the PeerPackage case built through the Build button
# with msitools and checks its tables and summary information.
set -eu
msi="$1/peer.msi"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$msi" ] || fail "no package $msi"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
msidump -t -d "$dir" "$msi" >/dev/null
for f in "$dir"/*.idt; do tr -d '\r' <"$f" >"$f.lf" && mv "$f.lf" "$f"; done
row() { grep -qxF "$2" "$dir/$1.idt" || fail "$1 row '$2' missing: $(cat "$dir/$1.idt")"; }
tab="$(printf '\t')"
t() { printf '%s' "$*" | sed "s/|/$tab/g"; }

# Directory: the fixed rows and the nested tree.
row Directory "$(t 'TARGETDIR||SourceDir')"
row Directory "$(t 'GROUP|TARGETDIR|.')"
row Directory "$(t 'SystemFolder|TARGETDIR|.')"
row Directory "$(t 'App|TARGETDIR|App')"
row Directory "$(t 'Data files|App|Data files')"
row Directory "$(t 'DesktopFolder|TARGETDIR|.')"
[ "$(tail -n +4 "$dir/Directory.idt" | wc -l)" -eq 6 ] || fail "Directory rows: $(cat "$dir/Directory.idt")"

# Feature: levels 3 (required), 4 (typical), 10 (optional); displays; hidden data feature.
row Feature "$(t 'Core_Program||Core_Program||0|3|TARGETDIR|0')"
row Feature "$(t "Docs||Documents|The user's guide|1|4|Data files|0")"
row Feature "$(t 'Extras|Docs|Extras||3|10|App|0')"
row Feature "$(t 'BRINDLEREGDATA||BRINDLEREGDATA||0|3|TARGETDIR|0')"

# File and Media: numbering, sequences (LONG columns), names with a blank and a quote.
grep -q "^Sequence" "$dir/File.idt" || true
types="$(sed -n 2p "$dir/File.idt")"
[ "$(echo "$types" | awk -F"$tab" '{print $8}')" = "i4" ] || fail "File.Sequence type: $types"
[ "$(sed -n 2p "$dir/Media.idt" | awk -F"$tab" '{print $2}')" = "i4" ] || fail "Media.LastSequence type"
grep -q "^FILE1Sapp.exe${tab}COMP1Sapp.exe${tab}app.exe|app.exe${tab}6${tab}${tab}${tab}0${tab}10\$" "$dir/File.idt" \
  || fail "File row 1: $(cat "$dir/File.idt")"
grep -q "^FILE2Sbeta two.txt${tab}COMP2Sbeta two.txt${tab}[^ ]*|beta two.txt${tab}4${tab}${tab}${tab}0${tab}20\$" "$dir/File.idt" \
  || fail "File row 2: $(cat "$dir/File.idt")"
grep -q "^FILE3Sgamma's.dat${tab}COMP3Sgamma's.dat${tab}.*|gamma's.dat${tab}5${tab}${tab}${tab}0${tab}30\$" "$dir/File.idt" \
  || fail "File row 3: $(cat "$dir/File.idt")"
grep -q "^FILE8SUninstallO'Brien's Tool.exe${tab}" "$dir/File.idt" || fail "uninstaller row"
[ "$(tail -n +4 "$dir/File.idt" | wc -l)" -eq 8 ] || fail "File rows: $(cat "$dir/File.idt")"
row Media "$(t '1|90||#primary.cab||')"  # as the cabinet phase fixes it
row SelfReg "$(t 'FILE1Sapp.exe|')"

# Component and FeatureComponents.
grep -q "^COMP2Sbeta two.txt${tab}{[0-9A-F-]*}${tab}Data files${tab}0${tab}${tab}FILE2Sbeta two.txt\$" "$dir/Component.idt" \
  || fail "Component row: $(cat "$dir/Component.idt")"
grep -q "^COMP5STQSetGroup.exe${tab}{[0-9A-F-]*}${tab}SystemFolder${tab}0${tab}${tab}FILE5STQSetGroup.exe\$" "$dir/Component.idt" \
  || fail "helper component: $(cat "$dir/Component.idt")"
grep -q "^COMPBRINDLEREGDATA${tab}{[0-9A-F-]*}${tab}TARGETDIR${tab}16${tab}${tab}\$" "$dir/Component.idt" \
  || fail "registry-data component: $(cat "$dir/Component.idt")"
row FeatureComponents "$(t 'Docs|COMP2Sbeta two.txt')"
row FeatureComponents "$(t "Extras|COMP3Sgamma's.dat")"
row FeatureComponents "$(t 'Core_Program|COMP4SInstallation.txt')"
row FeatureComponents "$(t "Core_Program|COMP8SUninstallO'Brien's Tool.exe")"
row FeatureComponents "$(t 'BRINDLEREGDATA|COMPBRINDLEREGDATA')"

# Properties with quotes, and the summary information.
row Property "$(t "Manufacturer|O'Neil & Sons")"
row Property "$(t 'ProductName|OBriens Tool')"
row Property "$(t 'ALLUSERS|2')"
suminfo="$(msiinfo suminfo "$msi")"
echo "$suminfo" | grep -q "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}" || fail "revision number: $suminfo"
echo "$suminfo" | grep -q "Installation Database" || fail "title: $suminfo"
echo "$suminfo" | grep -q ";1033" || fail "template: $suminfo"
echo "$suminfo" | grep -qi "page count.*110\|110" || fail "page count: $suminfo"
echo "msitools read the built package"
