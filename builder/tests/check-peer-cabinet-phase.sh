#!/bin/sh
# Other programs read a package that the cabinet phase wrote (package.msi in
# the folder, with "files.txt": one line per File row in Sequence order, its
# file key, its place below the install folder and its source file, separated
# by tabs; a relative source lies in the folder):
# msiextract installs every File row through the cabinet and the Directory
# table, the cabinet stream passes cabextract's test, and its members stand in
# the File table's Sequence order.
set -eu
dir=$1
pkg=$dir/package.msi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The File rows in Sequence order, as msitools reads them.
msiinfo export "$pkg" File | tail -n +4 | sort -t "$(printf '\t')" -k8,8n | cut -f1 > "$tmp/keys"
cut -f1 "$dir/files.txt" > "$tmp/expected-keys"
diff "$tmp/expected-keys" "$tmp/keys" || fail "File rows differ from the project's files"

# The stored cabinet: tested by cabextract, members in Sequence order.
msiinfo extract "$pkg" primary.cab > "$tmp/primary.cab"
cabextract -q -t "$tmp/primary.cab" >/dev/null || fail "cabextract finds the stored cabinet broken"
gcab -l "$tmp/primary.cab" | sed -E 's/ [0-9]+ [0-9-]+ [0-9:]+ 0x[0-9a-fA-F]+$//' > "$tmp/members"
diff "$tmp/keys" "$tmp/members" || fail "cabinet members are not in Sequence order"
# msidump gives the same stream.
mkdir "$tmp/dump"
msidump -s -d "$tmp/dump" "$pkg" >/dev/null
cmp "$tmp/dump/_Streams/primary.cab" "$tmp/primary.cab" || fail "msidump's stream differs"

# Every File row resolves through the cabinet and the Directory table.
msiextract -C "$tmp/out" "$pkg" > "$tmp/extracted"
while IFS="$(printf '\t')" read -r key rel source; do
  case $source in
    /*) ;;
    *) source=$dir/$source ;;
  esac
  found=$(find "$tmp/out" -path "*/$rel" -type f | head -n 1)
  [ -n "$found" ] || fail "msiextract did not place $rel: $(cat "$tmp/extracted")"
  cmp "$found" "$source" || fail "$rel differs from its source"
done < "$dir/files.txt"
echo "msitools, cabextract and gcab read the package cabinet"
