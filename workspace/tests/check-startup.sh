#!/usr/bin/env bash
# Starts the real Tarnquill.exe under Wine as a user would (through tqdrive,
# which closes it with WM_CLOSE) on a copy of the program directory, and checks
# the log, the untitled package, the updater start and the command line.
#   check-startup.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

fresh_program_copy "$program_dir" "$work"
rm -f "$prog/tarnquill.log" "$prog/Untitled.msi" "$prog/Untitled.msm" "$prog/Recent.dat" \
      "$prog/DontShowUpdates.dat" "$prog/updater-args.txt"
cp "$tools_dir/updates_standin.exe" "$prog/Updates.exe"

drive() {  # drive ARGS... : prints tqdrive's output
  "$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$@" </dev/null 2>&1 | tr -d '\r'
}

# 1. A plain start.
out="$(drive)"
echo "$out"
grep -qx "window: Untitled - Tarnquill - Install Project" <<<"$out" || fail "caption of a plain start"
grep -qx "exit code: 0" <<<"$out" || fail "exit code of a plain start"
log="$prog/tarnquill.log"
[ -f "$log" ] || fail "no tarnquill.log"
[ "$(grep -c "^\*\{43\}"$'\r'"\?$" "$log")" = 1 ] || fail "banner"
[ "$(grep -c '^New ProductCode : {[0-9A-F-]\{36\}}' "$log")" = 1 ] || fail "one product code line"
[ "$(grep -c '^New PackageCode : {[0-9A-F-]\{36\}}' "$log")" = 1 ] || fail "one package code line"
[ "$(wc -l <"$log")" = 7 ] || fail "log of one start has 7 lines: $(cat -A "$log")"
[ -f "$prog/Untitled.msi" ] || fail "no Untitled.msi"
cmp -s "$prog/Untitled.msi" "$prog/template.tpl" || fail "Untitled.msi is not a copy of template.tpl"
msiinfo tables "$prog/Untitled.msi" >"$work/tables.txt" || fail "msiinfo cannot read Untitled.msi"
grep -qx "Property" "$work/tables.txt" || fail "Untitled.msi has no Property table"
for _ in $(seq 100); do [ -s "$prog/updater-args.txt" ] && break; sleep 0.1; done
[ -s "$prog/updater-args.txt" ] || fail "Updates.exe was not started"
args="$(cat "$prog/updater-args.txt")"
echo "updater: $args"
grep -qF "\"$(winpath "$prog/")Tarnquill.exe\" \"http" <<<"$args" || fail "updater's program path"
grep -qF "\" \"Tarnquill\"" <<<"$args" || fail "updater's product name"

# 2. One argument with ".IPR" (a real project, written by the example tool):
# recognised and loaded; a fresh marker stops the updater.
rm -f "$prog/updater-args.txt"
touch "$prog/DontShowUpdates.dat"
mkdir -p "$work/proj"
project="$(winpath "$work/proj/X.IPR")"
"$TQ_WINE" "$tools_dir/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$project" >/dev/null
out="$(drive "$project")"
echo "$out"
grep -qx 'window: X.IPR - Tarnquill - Install Project' <<<"$out" || fail "one .IPR argument is not recognised"
grep -qF "$project" "$prog/Recent.dat" || fail "the project was not added to Recent.dat"
sleep 2
[ ! -e "$prog/updater-args.txt" ] || fail "updater started although the marker is fresh"

# 3. Two arguments: no project.
out="$(drive "$project" second)"
echo "$out"
grep -qx "window: Untitled - Tarnquill - Install Project" <<<"$out" || fail "two arguments were taken as a project"
[ "$(grep -c '^New ProductCode : {' "$log")" = 3 ] || fail "one product code per start"
[ "$(grep -c '^New PackageCode : {' "$log")" = 3 ] || fail "one package code per start"
echo "start-up checks passed"
