#!/bin/sh
# Reads the database of the PeerDatabase case with msitools and checks what the
# builder wrote: tables, rows with quotes, summary information and streams.
set -eu
msi="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
tables="$(msiinfo tables "$msi")"
for t in Property Binary Feature; do
  echo "$tables" | grep -qx "$t" || fail "table $t missing: $tables"
done
msiinfo export "$msi" Property | grep -q "^ProductName	O'Brien's Tool" || fail "ProductName row"
msiinfo export "$msi" Feature | grep -q "^Core_Program		Core 'quoted'		0	3	TARGETDIR	0" \
  || fail "Feature row: $(msiinfo export "$msi" Feature)"
suminfo="$(msiinfo suminfo "$msi")"
echo "$suminfo" | grep -q "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}" || fail "revision number: $suminfo"
echo "$suminfo" | grep -q "Installation Database" || fail "title: $suminfo"
echo "$suminfo" | grep -q ";1033" || fail "template: $suminfo"
echo "$suminfo" | grep -q "110" || fail "page count: $suminfo"
[ "$(msiinfo extract "$msi" primary.cab)" = "MSCF peer" ] || fail "cabinet stream"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
msidump -t -s -d "$dir" "$msi" >/dev/null
[ "$(cat "$dir/_Streams/Binary.bannrbmp")" = "peer stream bytes" ] || fail "Binary stream: $(ls -R "$dir")"
grep -q "^bannrbmp	" "$dir/Binary.idt" || fail "Binary.idt: $(cat "$dir/Binary.idt")"
grep -q "^ProductName	O'Brien's Tool" "$dir/Property.idt" || fail "Property.idt"
echo "msitools read the builder's database"
