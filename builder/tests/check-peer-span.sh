#!/bin/sh
# Checks a spanned set with the host's zip and unzip: the volumes
# Setup001.zip ... SetupNNN.zip in $1, named as a split archive
# (s.z01, s.z02, ..., s.zip), are joined by `zip -s 0` and tested by unzip.
# Expected member names follow as further arguments.
set -eu
dir=$1; shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=$(ls "$dir"/Setup[0-9][0-9][0-9].zip | wc -l)
[ "$n" -ge 2 ] || { echo "FAIL: fewer than two volumes in $dir"; exit 1; }
i=1
for v in $(ls "$dir"/Setup[0-9][0-9][0-9].zip | sort); do
  if [ "$i" -eq "$n" ]; then cp "$v" "$work/s.zip"; else cp "$v" "$work/s.z$(printf %02d "$i")"; fi
  i=$((i + 1))
done
cd "$work"
zip -q -s 0 s.zip --out joined.zip
unzip -tq joined.zip
names=$(unzip -Z1 joined.zip | tr '\n' ' ')
expected="$* "
[ "$names" = "$expected" ] || { echo "FAIL: names '$names' != '$expected'"; exit 1; }
echo "spanned set of $n volumes joined and tested"
