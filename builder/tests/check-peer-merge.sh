#!/bin/sh
# msitools reads a package with the fixture module merged in (merged.msi in the
# first folder; the fixture's files in the second): the module's directories
# hang below Data, its File rows follow the package's own from 61 on, its
# execute-sequence actions and FeatureComponents rows are there, and
# msiextract puts each of its files below Data byte for byte.
set -eu
dir=$1
files=$2
suffix=7D2C0E4A_9B31_4F6E_A5D8_3C1B2E9F4A60
pkg=$dir/merged.msi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
tab=$(printf '\t')
has() {  # table, exact row (tab-separated)
  msiinfo export "$pkg" "$1" | tr -d '\r' | grep -qxF "$2" || fail "$1 lacks the row: $2"
}

has Directory "FixtureDir.$suffix${tab}Data${tab}Fixture"
has Directory "FixtureSub.$suffix${tab}FixtureDir.$suffix${tab}Sub"
[ "$(msiinfo export "$pkg" Directory | tr -d '\r' | cut -f1 | grep -cx TARGETDIR)" = 1 ] ||
  fail "TARGETDIR is not there exactly once"
msiinfo export "$pkg" File | tr -d '\r' | tail -n +4 | awk -F"$tab" '$1 ~ /^FixFile/ { print $1, $8 }' | sort > "$tmp/files"
printf '%s\n' "FixFile1.$suffix 62" "FixFile2.$suffix 61" "FixFile3.$suffix 63" > "$tmp/expected"
diff "$tmp/expected" "$tmp/files" || fail "the module's File rows are not renumbered after the package's"
has InstallExecuteSequence "FixSetMode.$suffix${tab}${tab}1001"
has InstallExecuteSequence "FixSetEarly.$suffix${tab}${tab}1450"
for n in 1 2 3; do has FeatureComponents "Typical${tab}FixComp$n.$suffix"; done
has Registry "FixReg.$suffix${tab}1${tab}Software\\TarnquillFixture${tab}Merged${tab}yes${tab}FixComp1.$suffix"
msiinfo tables "$pkg" | grep -qx ModuleSignature && fail "the module's signature was merged"

msiextract -C "$tmp/out" "$pkg" > "$tmp/extracted"
check() {  # place below Data, fixture file
  found=$(find "$tmp/out" -ipath "*/Data/$1" -type f | head -n 1)
  [ -n "$found" ] || fail "msiextract did not place Data/$1: $(cat "$tmp/extracted")"
  cmp "$found" "$files/$2" || fail "Data/$1 differs from the module's file"
}
check Fixture/one.txt "FixFile1.$suffix"
check Fixture/Sub/two.dat "FixFile2.$suffix"
check three.txt "FixFile3.$suffix"
echo "msitools read the merged package"
