#!/usr/bin/env bash
# Builds the example project's Flash variant with the real Tarnquill, as a user
# would (tqdrive presses Build): its Gui page chooses Sorvex with the GUI
# stand-in FlashGui.exe as the movie and the stand-in's script FlashGui.txt as a
# support file. The script installs the Typical set into OUT/target with the
# program group "Sam's Tool Test".
#   make-flash-example.sh BUILD_DIR OUT_DIR
# Leaves OUT/project/1.0.0/Sample.msi and OUT/project/1.0.0/CD-Image/Setup.exe.
set -euo pipefail
build="$1"; out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
# A copy of its own: a build writes its work bitmaps into the program's folder,
# and the shared one is copied by other checks while they run.
quiet_program_copy "$build/program" "$out"
mkdir -p "$out/gui"
cp "$build/program/FlashGui.exe" "$out/gui/FlashGui.exe"
cat > "$out/gui/FlashGui.txt" <<SCRIPT
# Typical install into the test's folder
send Info::Sam Tester::Quill Works::KEY-1
send Directory::$(winpath "$out/target")
send GroupScope::Current
send Group::Sam's Tool Test
send Type::Typical
await <Settings>
send Install::
await <Finished/>
send Quit
SCRIPT
project="$out/project/1.0.0/Sample.ipr"
"$TQ_WINE" "$build/tools/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$(winpath "$project")" \
  "$(winpath "$out/gui/FlashGui.exe")" "$(winpath "$out/gui/FlashGui.txt")" </dev/null >/dev/null
"$TQ_WINE" "$build/tools/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
  "answer:needs saving=No" "click:Build" "wait:Build Complete!Build Error" </dev/null | tr -d '\r'
[ -f "$out/project/1.0.0/CD-Image/Setup.exe" ] || fail "the build wrote no CD-Image/Setup.exe"
unzip -Z1 "$out/project/1.0.0/CD-Image/Setup.exe" | tr -d '\r' > "$out/members.txt"
for m in Sorvex.exe FlashGui.exe FlashGui.txt install.bat setup.ini Install.exe Sample.msi; do
  grep -qxF "$m" "$out/members.txt" || fail "Setup.exe lacks $m"
done
echo "Flash variant built: $out/project/1.0.0/CD-Image/Setup.exe"
