#!/usr/bin/env bash
# A distribution installs through its Flash front-end, end to end under Wine
# with the real programs: the Flash variant's Setup.exe (make-flash-example.sh)
# unpacks into a fresh folder of its own inside a temporary folder of the
# test's own and starts the bootstrap
# stand-in, which starts Sorvex, which starts the GUI stand-in; the stand-in
# walks the protocol for a Typical install. Then:
#  - the package's Typical files are in the chosen folder byte for byte, the
#    optional one is not;
#  - setup.ini holds the program group's full path as Group;
#  - Sorvex.log shows the installer's Property(S) lines with the chosen TARGETDIR;
#  - the stand-in saw InstallProgress rise to 100, then <Finished/>;
#  - Sorvex ended about seven seconds after Quit.
# The product is removed again at the end.
#   check-sorvex-install.sh BUILD_DIR OUT_DIR   (OUT_DIR: make-flash-example.sh's)
set -euo pipefail
build="$1"; out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
product="{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B6C}"
files="$here/examples/Sample/files"
target="$out/target"
temp="$out/temp"
remove() { "$TQ_WINE" msiexec /x "$product" /qn TARGETDIR="$(winpath "$target")" </dev/null >/dev/null 2>&1 || true; }
remove
trap remove EXIT
rm -rf "$target" "$temp"
mkdir -p "$temp"
setup="$out/project/1.0.0/CD-Image/Setup.exe"
[ -f "$setup" ] || fail "no $setup (make-flash-example.sh first)"

"$TQ_WINE" cmd /c "set TEMP=$(winpath "$temp")&& set TMP=$(winpath "$temp")&& $(winpath "$setup")" </dev/null >/dev/null 2>&1 &
# Setup.exe makes one Setup-XXXXXXXX folder of its own in TEMP and runs from it.
run=""
find_run() { [ -n "$run" ] || run="$(find "$temp" -mindepth 1 -maxdepth 1 -type d -name 'Setup-*' | head -1)"; }
# Sorvex's last line, or time runs out (an install under Wine takes seconds).
quit_at=""
for _ in $(seq 1 1500); do
  find_run
  if [ -n "$run" ]; then
    if [ -z "$quit_at" ] && grep -q "^sent: Quit" "$run/FlashGui.log" 2>/dev/null; then quit_at=$(date +%s.%N); fi
    if grep -q "^Sorvex ends" "$run/Sorvex.log" 2>/dev/null; then break; fi
  fi
  sleep 0.2
done
ended_at=$(date +%s.%N)
wait || true
show() {
  echo "== $temp:"; ls -la "$temp" "$run" 2>&1 || true
  for f in Install.log Sorvex.log FlashGui.log; do echo "== $f"; tr -d '\r' 2>/dev/null < "$run/$f" | tail -60 || true; done
}
[ -n "$run" ] || { show; fail "Setup.exe made no Setup-* folder in $temp"; }
[ "$(find "$temp" -mindepth 1 -maxdepth 1 | wc -l)" = 1 ] || { show; fail "Setup.exe left more than its own folder in $temp"; }
grep -q "^Sorvex ends" "$run/Sorvex.log" 2>/dev/null || { show; fail "Sorvex did not end"; }
gui="$(tr -d '\r' < "$run/FlashGui.log")"
grep -qx "result: ok" <<<"$gui" || { show; fail "the GUI stand-in did not finish its script"; }

# The Typical set, byte for byte; the optional plug-in stays out.
for f in "Read Me.txt" license.txt "bin/tool.dll" "docs/Sam's Notes.txt"; do
  cmp -s "$files/$f" "$target/$f" || { show; fail "$f is not installed as its source"; }
done
[ ! -e "$target/bin/plug ins/extra plug.dat" ] || fail "the optional plug-in was installed"

# The group, written back with its full path.
group_line="$(tr -d '\r' < "$run/setup.ini" | grep '^Group=' || true)"
[[ "$group_line" == Group=*'\Sam'"'"'s Tool Test' ]] || fail "setup.ini has no full Group path: '$group_line'"

# What the installer received.
log="$(tr -d '\r' < "$run/Sorvex.log")"
want_target="$(winpath "$target")"
grep -qiF "Property(S): TARGETDIR = $want_target" <<<"$log" || { show; fail "no Property(S) TARGETDIR line for $want_target"; }
grep -qF "Property(S): ADDDEFAULT = " <<<"$log" || fail "no Property(S) ADDDEFAULT line"
grep -qF "Install succeeded" <<<"$log" || fail "Sorvex did not report success"

# Progress rose to 100 and the end came after it.
percents="$(grep -o '^received: <InstallProgress>[0-9]*</InstallProgress>$' <<<"$gui" | grep -o '[0-9]\+' || true)"
[ -n "$percents" ] || fail "no InstallProgress arrived"
sort -n -c <<<"$percents" 2>/dev/null || fail "InstallProgress went down: $(tr '\n' ' ' <<<"$percents")"
[ "$(tail -1 <<<"$percents")" = 100 ] || fail "InstallProgress ended at $(tail -1 <<<"$percents")"
last_progress=$(grep -n '^received: <InstallProgress>' <<<"$gui" | tail -1 | cut -d: -f1)
finished=$(grep -n '^received: <Finished/>$' <<<"$gui" | head -1 | cut -d: -f1)
[ -n "$finished" ] && [ "$finished" -gt "$last_progress" ] || fail "<Finished/> did not follow the progress"

# About seven seconds from Quit to the end (the "Installed By" time).
[ -n "$quit_at" ] || fail "the stand-in never sent Quit"
python3 - "$quit_at" "$ended_at" <<'PY' || fail "Sorvex did not end about seven seconds after Quit"
import sys
d = float(sys.argv[2]) - float(sys.argv[1])
print("Sorvex ended %.1f s after Quit" % d)
sys.exit(0 if 5.5 <= d <= 20 else 1)
PY
echo "Flash distribution installed: $(wc -l <<<"$percents") progress reports, group $group_line"
