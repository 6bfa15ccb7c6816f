#!/bin/sh
# Checks the distributions that DistributionPeer.WritesDistributions wrote into
# $1 with the host's unzip and zip: cd/Setup.exe lists its members in the
# distribution's order and tests clean, cd/setup.ini holds the keys the
# bootstrap and front-ends read; floppy/Setup001.zip ... are each at most
# 1,300,000 bytes, join back into an archive unzip accepts, and the last
# volume's directory records the right disks and offsets ($2, a Python reader).
set -eu
dir=$1
reader=$2
fail() { echo "FAIL: $*"; exit 1; }

# ---- CD image ----
exe="$dir/cd/Setup.exe"
[ -f "$exe" ] || fail "no $exe"
names=$(unzip -Z1 "$exe" 2>/dev/null | tr '\n' '|')
expected="Installation.txt|Install.exe|My Product.msi|InstMsiW.exe|InstMsiA.exe|UninstallMy Product.exe|Vantrel.exe|ProgressBar.class|ProgressBarApplet.class|TQSetup.htm|tqWelcome.htm|logo.gif|tqLocation.htm|tqInstallType.htm|tqCustom.htm|tqInstall.htm|tqProgress.htm|tqFinish.htm|tqstyle.css|setup.ini|"
[ "$names" = "$expected" ] || fail "members '$names' != '$expected'"
unzip -tq "$exe" >/dev/null 2>&1 || { unzip -tq "$exe"; fail "unzip -t on Setup.exe"; }
ini=$(unzip -p "$exe" setup.ini | tr -d '\r')
for line in "[Setup]" "Version=2.5" "Msiname=My Product.msi" "PerUser=true" "Vantrel=1" "Sorvex=0" "[Vantrel]" \
            "Welcome=tqWelcome.htm" "Custom=tqCustom.htm" "Progress=tqProgress.htm" "Finish=tqFinish.htm"; do
  printf '%s\n' "$ini" | grep -qxF "$line" || fail "setup.ini lacks '$line'"
done
echo "CD image: $(printf '%s' "$names" | tr '|' '\n' | wc -l) members in order, archive tests clean"

# ---- floppy images ----
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
vols=$(ls "$dir"/floppy/Setup[0-9][0-9][0-9].zip | sort)
n=$(printf '%s\n' "$vols" | wc -l)
[ "$n" -ge 3 ] || fail "expected at least three volumes, got $n"
[ "$(ls "$dir/floppy" | wc -l)" -eq "$n" ] || fail "Floppy-Images holds more than the volumes: $(ls "$dir/floppy")"
i=1
for v in $vols; do
  size=$(stat -c %s "$v")
  [ "$size" -le 1300000 ] || fail "$v is $size bytes"
  if [ "$i" -eq "$n" ]; then cp "$v" "$work/s.zip"; else cp "$v" "$work/s.z$(printf %02d "$i")"; fi
  i=$((i + 1))
done
python3 "$reader" $vols
(cd "$work" && zip -q -s 0 s.zip --out joined.zip && unzip -tq joined.zip >/dev/null) || fail "joined volumes do not test clean"
[ "$(unzip -Z1 "$work/joined.zip")" = "Setup.exe" ] || fail "the spanned set does not hold Setup.exe alone"
(cd "$work" && unzip -q joined.zip Setup.exe && unzip -tq Setup.exe >/dev/null 2>&1) || fail "the Setup.exe in the volumes does not test clean"
echo "floppy images: $n volumes, each at most 1300000 bytes, joined and tested"
