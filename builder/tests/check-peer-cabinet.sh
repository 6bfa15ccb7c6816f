#!/bin/sh
# Other cabinet programs read the cabinet that CabinetPeer.WritesCabinet wrote:
# cabextract tests it, gcab lists its members in the order they were added, and
# every member extracted by cabextract equals its source file.
set -eu
dir=$1
cab=$dir/ours.cab
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cabextract -q -t "$cab"
# gcab -l: name, size, date, time, attribute word per member.
gcab -l "$cab" > "$tmp/gcab-list"
sed -E 's/ [0-9]+ [0-9-]+ [0-9:]+ 0x[0-9a-fA-F]+$//' "$tmp/gcab-list" > "$tmp/names"
if ! diff "$dir/members.txt" "$tmp/names"; then
  echo "gcab lists other members or another order" >&2
  exit 1
fi
# Only DOS attributes: 0x40 would say "run after extraction", 0x80 "name is UTF-8".
for attr in $(awk '{print $NF}' "$tmp/gcab-list"); do
  if [ $((attr & 0xC0)) -ne 0 ]; then
    echo "member attribute word $attr carries more than the DOS attributes" >&2
    exit 1
  fi
done
while IFS= read -r member; do
  cabextract -q -p -F "$member" "$cab" > "$tmp/member"
  if ! cmp "$tmp/member" "$dir/src/$member"; then
    echo "member differs: $member" >&2
    exit 1
  fi
done < "$dir/members.txt"
echo "peer check passed: $(wc -l < "$dir/members.txt") members"
