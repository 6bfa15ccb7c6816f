#!/usr/bin/env bash
# The real Tarnquill.exe under Wine, driven from outside (tqdrive) on crafted
# projects:
#  1. product names that climb out of the program folder or name a device are
#     refused with a message naming the field, before anything is written;
#  2. a build killed from outside at several moments (the table steps, the
#     cabinet phase, the distribution) never leaves a broken package or
#     distribution: the package still reads with msiinfo and msiextract yields
#     every file byte for byte, Setup.exe still tests whole with unzip; the
#     next build completes and leaves no work file behind.
#   check-build-safety.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

quiet_program_copy "$program_dir" "$work"

drive() {  # drive ARGS... : prints tqdrive's output
  "$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$@" </dev/null 2>&1 | tr -d '\r'
}
example() {  # example FILES PROJECT [PRODUCT NAME]
  "$TQ_WINE" "$tools_dir/tqexample.exe" ${3:+--product-name "$3"} "$(winpath "$1")" "$(winpath "$2")" >/dev/null
}

# ---- 1. hostile product names ----
mkdir -p "$work/somewhere"
printf 'the victim' >"$work/somewhere/victim.exe"
printf 'the victim' >"$work/victim.exe"
listing() { (cd "$prog" && ls -A | grep -vx -e tarnquill.log -e Recent.dat -e Untitled.msi -e elfrm.ini | sort); }
refusal="The Product Name on the Information page cannot be used in file names"
n=0
for name in 'x\..\..\somewhere\victim' '..\victim' 'CON' 'NUL .txt' 'Tool.'; do
  n=$((n + 1))
  project="$work/names/$n/X.ipr"
  example "$here/examples/Sample/files" "$project" "$name"
  before="$(listing)"
  out="$(drive "$(winpath "$project")" -- "answer:needs saving=No" "answer:$refusal=OK" "click:Build" \
    "answered:$refusal")" || true
  echo "$out"
  grep -qF "answered \"$refusal\" with OK" <<<"$out" || fail "no refusal for $name"
  [ "$(cat "$work/somewhere/victim.exe")" = "the victim" ] || fail "$name replaced a file outside"
  [ "$(cat "$work/victim.exe")" = "the victim" ] || fail "$name replaced a file outside"
  # Only the program's log, recent list and window sizes change when a project
  # is opened.
  after="$(listing)"
  [ "$before" = "$after" ] || fail "$name wrote into the program folder: $(diff <(echo "$before") <(echo "$after"))"
  [ -z "$(ls -A "$work/names/$n" | grep -v '^X.ipr$' || true)" ] || fail "$name wrote beside the project"
done

# ---- 2. builds killed from outside ----
# The Wine process of this copy of the program: its command line starts with
# the program's path, which is this check's own (tqdrive's only holds it).
program_pid() { pgrep -f "^$(winpath "$prog/Tarnquill.exe" | sed 's/[\\.]/\\&/g')" | head -n 1 || true; }
# No program of this check outlives it.
trap 'pid="$(program_pid)"; [ -z "$pid" ] || kill -KILL "$pid"' EXIT
# The example (its files and, beside them, its setup pages' sources) with a
# large file, so that every phase of the build takes a while.
files="$work/files"
cp -r "$here/examples/Sample/files" "$files"
cp -r "$here/examples/Sample/setup" "$work/setup"
head -c 24000000 /dev/urandom >"$files/bin/tool.dll"
folder="$work/Sample/1.0.0"
project="$folder/Sample.ipr"
package="$folder/Sample.msi"
setup="$folder/CD-Image/Setup.exe"
example "$files" "$project"

# The package reads and yields every file of the project byte for byte.
check_package() {  # check_package WHEN
  local x="$work/extracted"
  msiinfo tables "$package" >/dev/null || fail "$1: msiinfo cannot read the package"
  rm -rf "$x"
  mkdir -p "$x"
  msiextract -C "$x" "$package" >/dev/null || fail "$1: msiextract cannot extract the package"
  while IFS= read -r -d '' f; do
    local found
    found="$(find "$x" -type f -name "$(basename "$f")" -print -quit)"
    [ -n "$found" ] || fail "$1: $(basename "$f") is not in the package"
    cmp -s "$f" "$found" || fail "$1: $(basename "$f") differs in the package"
  done < <(find "$files" -type f -print0)
  local status=0
  unzip -tq "$setup" >/dev/null 2>&1 || status=$?
  [ "$status" -le 1 ] || fail "$1: Setup.exe does not test whole ($status)"
}
work_files() { (cd "$folder" && ls -A | grep -e '\.partial$' -e '\.previous$' || true); }
build() {  # build WHEN : a build to its end
  local out
  out="$(drive "$(winpath "$project")" -- "answer:needs saving=No" "${html_pages_steps[@]}" "click:Build" \
    "wait:Build Complete!Build Error")" || true
  echo "$out"
  grep -qx "saw Build Complete" <<<"$out" || fail "$1: the build did not complete"
  check_package "$1"
  [ -z "$(work_files)" ] || fail "$1: work files stayed: $(work_files)"
}
build "first build"

# kill_build MOMENT: starts a build and kills the program once MOMENT holds.
kills=0
kill_build() {
  local moment="$1" pid="" waited=0
  kills=$((kills + 1))
  local log="$work/killed-$kills.log"
  # The work files the kill before left: the moment must be this build's own
  # (the last kill's are left for the build after it).
  rm -rf "$package.partial" "$package.previous" "$folder/CD-Image.partial"
  # Straight into the log (no pipe that holds lines back).
  "$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
    "answer:needs saving=No" "answer:Generate Html Pages Reminder=OK" "click:Build" "sleep:600000" \
    </dev/null >"$log" 2>&1 &
  local driver=$!
  until grep -q "clicked Build" "$log" 2>/dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    [ $waited -lt 6000 ] || fail "$moment: the build did not start"
  done
  waited=0
  until eval "$moment"; do
    sleep 0.01
    waited=$((waited + 1))
    if [ $waited -ge 30000 ] || grep -q "exit code" "$log"; then
      cat "$log"
      fail "the moment \"$moment\" never came"
    fi
  done
  pid="$(program_pid)"
  [ -n "$pid" ] || fail "$moment: no program to kill"
  kill -KILL "$pid"
  wait "$driver" || true
  echo "killed the build when: $moment"
  check_package "killed when $moment"
}
kill_build "grep -q 'answered \"Generate Html Pages Reminder\"' '$work/killed-1.log'"
kill_build "[ -f '$package.partial' ]"
kill_build "[ -f '$package.partial' ] && sleep 0.5"
kill_build "[ -f '$package.previous' ]"
kill_build "[ -d '$folder/CD-Image.partial' ]"
kill_build "[ -f '$folder/CD-Image.partial/Setup.zip' ]"

build "the build after the killed ones"
# The large file's copies (package, distribution, extracted files) go: the
# check's folder is kept only when it fails.
rm -rf "$work"
echo "build safety checks passed"
