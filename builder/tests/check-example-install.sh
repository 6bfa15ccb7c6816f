#!/usr/bin/env bash
# Builds the shipped example project with the real Tarnquill.exe (through
# tqdrive, pressing Build), checks its Registry, Shortcut, Environment,
# CustomAction and InstallUISequence rows with msiinfo, installs it with Wine's
# Windows Installer without a user interface and checks the registry values, the
# association's keys, the shortcut files (read through the shell's link object)
# and the environment; then uninstalls it and checks what goes and what stays.
#   check-example-install.sh PROGRAM_DIR TOOLS_DIR WORK_DIR LNKINFO_EXE
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"; lnkinfo="$4"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"
product="{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B6C}"

quiet_program_copy "$program_dir" "$work"
project="$work/Sample/1.0.0/Sample.ipr"
"$TQ_WINE" "$tools_dir/tqexample.exe" "$(winpath "$here/examples/Sample/files")" "$(winpath "$project")" >/dev/null
out="$("$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
  "answer:needs saving=No" "${html_pages_steps[@]}" "click:Build" "wait:Build Complete!Build Error" </dev/null 2>&1 |
  tr -d '\r')"
echo "$out"
grep -qx "saw Build Complete" <<<"$out" || fail "the build did not complete"
package="${project%.ipr}.msi"
[ -f "$package" ] || fail "no package was written"

# ---- the tables ----
rows() {  # rows TABLE: the table's rows as msiinfo exports them
  msiinfo export "$package" "$1" | tr -d '\r' | tail -n +4
}
expect_row() {  # expect_row TABLE ROW
  rows "$1" | grep -qxF "$2" || { rows "$1" >&2; fail "$1 lacks the row: $2"; }
}
core="$(msiinfo export "$package" FeatureComponents | tr -d '\r' | awk -F'\t' '$1=="Core_Program"{print $2; exit}')"
tools="$(msiinfo export "$package" FeatureComponents | tr -d '\r' | awk -F'\t' '$1=="Tools"{print $2; exit}')"
[ -n "$core" ] && [ -n "$tools" ] || fail "no components for the choices"
tab=$'\t'
expect_row Registry "InstallFolder${tab}1${tab}Software\\Quill Works\\Sam's Tool${tab}InstallFolder${tab}[TARGETDIR]${tab}$core"
expect_row Registry "Colour${tab}-1${tab}Software\\Quill Works\\Sam's Tool\\Settings${tab}Colour${tab}Sam's blue${tab}$tools"
expect_row Registry "SamTool.Notes0${tab}0${tab}.samnote${tab}${tab}SamTool.Notes${tab}$tools"
expect_row Registry "SamTool.Notes1${tab}0${tab}SamTool.Notes\\DefaultIcon${tab}${tab}[bin]tool.dll,0${tab}$tools"
expect_row Registry "SamTool.Notes2${tab}0${tab}SamTool.Notes\\Shell\\Open\\Command${tab}${tab}\"[bin]tool.dll\" \"%1\"${tab}$tools"
expect_row Shortcut "ReadMe${tab}GROUP${tab}Read Me.txt${tab}$core${tab}[#FILE1SRead Me.txt]${tab}/view \"it's\"${tab}Sam's notes on the tool${tab}${tab}${tab}${tab}3${tab}docs"
expect_row Shortcut "Notes${tab}bin${tab}Sam's Notes.txt${tab}$tools${tab}[#FILE4SSam's Notes.txt]${tab}${tab}${tab}${tab}${tab}${tab}1${tab}WORKDIR9999"
expect_row CustomAction "WORKDIR0${tab}51${tab}WORKDIR0${tab}[TARGETDIR]docs"
expect_row InstallUISequence "WORKDIR0${tab}${tab}1250"
expect_row Environment "Environment1${tab}-=SAMTOOL_HOME${tab}[TARGETDIR]${tab}$core"
expect_row Environment "Environment2${tab}-=SAMTOOL_PATH${tab}[~];[TARGETDIR]bin${tab}$core"
expect_row Environment "Environment3${tab}*-=SAMTOOL_SYSTEM${tab}[TARGETDIR]docs;[~]${tab}$core"
expect_row Environment "Environment4${tab}+SAMTOOL_KEEP${tab}kept${tab}$core"
echo "table checks passed"

# ---- install ----
target="$work/target"
wtarget="$(winpath "$target")"
msi() {  # msi ARGS...: msiexec, its exit code
  local rc=0
  "$TQ_WINE" msiexec "$@" </dev/null >/dev/null 2>&1 || rc=$?
  return $rc
}
# The registry as the package's 32-bit programs see it: on a 64-bit system the
# installer writes a 32-bit package's HKLM\Software values to the 32-bit view.
# An absent key or value reads as "" (reg says so, exit code 1). Any other
# failure of reg (a process that did not start or was ended) is named on stderr
# and ends the check: it is never taken for a missing value.
regvalue() {  # regvalue KEY NAME: the value's data ("" for the default value's name)
  local args=(/v "$2") out rc=0; [ -z "$2" ] && args=(/ve)
  out="$("$TQ_WINE" reg query "$1" "${args[@]}" /reg:32 </dev/null 2>&1 | tr -d '\r')" || rc=$?
  if [ "$rc" -ne 0 ] && ! { [ "$rc" -eq 1 ] && grep -q "Unable to find the specified registry" <<<"$out"; }; then
    echo "FAIL: reg query '$1' '$2' failed with exit code $rc: $out" >&2
    kill -TERM "$$"; exit 1
  fi
  sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' <<<"$out" | head -1
}
classes() {  # classes KEY NAME: from the classes of the machine or of the user
  local v; v="$(regvalue "HKCR\\$1" "$2")"
  [ -n "$v" ] || v="$(regvalue "HKCU\\Software\\Classes\\$1" "$2")"
  echo "$v"
}
sysenv='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
setenv() {  # setenv KEY NAME [VALUE]: sets the variable, or deletes it without VALUE
  if [ $# -eq 3 ]; then
    "$TQ_WINE" reg add "$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1
  else
    "$TQ_WINE" reg delete "$1" /v "$2" /f </dev/null >/dev/null 2>&1 || true
  fi
}
msi /x "$product" /qn TARGETDIR="$wtarget\\" || true  # an earlier run's product
for name in SAMTOOL_HOME SAMTOOL_KEEP; do setenv 'HKCU\Environment' "$name"; done
# Values already there show where the installer appends and prefixes.
setenv 'HKCU\Environment' SAMTOOL_PATH 'C:\earlier'
setenv "$sysenv" SAMTOOL_SYSTEM 'C:\earlier'
msi /i "$(winpath "$package")" /qn /l*v "$(winpath "$work/install.log")" TARGETDIR="$wtarget\\" ||
  { tr -d '\r\0' <"$work/install.log" | tail -40 >&2; fail "the package did not install"; }
[ -f "$target/Read Me.txt" ] || fail "Read Me.txt was not installed"

[ "$(regvalue 'HKCU\Software\Quill Works\Sam'"'"'s Tool' InstallFolder)" = "$wtarget\\" ] ||
  fail "InstallFolder is '$(regvalue 'HKCU\Software\Quill Works\Sam'"'"'s Tool' InstallFolder)'"
# Root -1 is the user's hive for a per-user install and the machine's for a
# per-machine one (ALLUSERS 1 once the installer has decided: the package's
# ALLUSERS=2 installs per machine where the user may).
allusers="$(tr -d '\r\0' <"$work/install.log" | sed -n 's/^Property(S): ALLUSERS = //p' | tail -1)"
if [ "$allusers" = 1 ]; then default_root=HKLM; else default_root=HKCU; fi
echo "ALLUSERS after the install: '${allusers}', the default root: $default_root"
colour_key="$default_root\Software\Quill Works\Sam's Tool\Settings"
[ "$(regvalue "$colour_key" Colour)" = "Sam's blue" ] || fail "Colour (the default root) is not under $colour_key"
[ "$(classes .samnote "")" = "SamTool.Notes" ] || fail ".samnote is '$(classes .samnote "")'"
[ "$(classes 'SamTool.Notes\DefaultIcon' "")" = "$wtarget\\bin\\tool.dll,0" ] ||
  fail "DefaultIcon is '$(classes 'SamTool.Notes\DefaultIcon' "")'"
[ "$(classes 'SamTool.Notes\Shell\Open\Command' "")" = "\"$wtarget\\bin\\tool.dll\" \"%1\"" ] ||
  fail "the open command is '$(classes 'SamTool.Notes\Shell\Open\Command' "")'"
echo "registry checks passed"

link() {  # link FILE: lnkinfo's lines
  "$TQ_WINE" "$lnkinfo" "$(winpath "$1")" </dev/null 2>/dev/null | tr -d '\r'
}
# The program group is the folder the install set GROUP to.
group="$(tr -d '\r\0' <"$work/install.log" | sed -n 's/^Property(S): GROUP = //p' | tail -1)"
[ -n "$group" ] || fail "the install log names no GROUP folder"
group_dir="$("$TQ_WINE" winepath -u "$group" </dev/null 2>/dev/null | tr -d '\r')"
echo "the program group: $group ($group_dir)"
readme_lnk="$(find "$group_dir" -maxdepth 1 -iname 'Read Me*.lnk' | head -1)"
notes_lnk="$(find "$target/bin" -maxdepth 1 -iname 'Sam*.lnk' | head -1)"
[ -n "$readme_lnk" ] || { find "$group_dir" >&2; fail "no Read Me shortcut in the program group"; }
[ -n "$notes_lnk" ] || { find "$target" >&2; fail "no Notes shortcut in bin"; }
info="$(link "$readme_lnk")"; echo "$info"
grep -qixF "target=$wtarget\\Read Me.txt" <<<"$info" || fail "Read Me shortcut's target"
grep -qxF "arguments=/view \"it's\"" <<<"$info" || fail "Read Me shortcut's arguments"
grep -qixF "workdir=$wtarget\\docs" <<<"$info" || grep -qixF "workdir=$wtarget\\docs\\" <<<"$info" ||
  fail "Read Me shortcut's working directory"
grep -qxF "description=Sam's notes on the tool" <<<"$info" || fail "Read Me shortcut's description"
# The window state as the file stores it: ShowCommand, the header's 32-bit
# little-endian field at offset 60 (Wine's link object reports 1 whatever it holds).
show="$(od -An -tu4 -j60 -N4 "$readme_lnk" | tr -d ' ')"
[ "$show" = 3 ] || fail "Read Me shortcut opens with window state $show, not maximized (3)"
info="$(link "$notes_lnk")"; echo "$info"
grep -qixF "target=$wtarget\\docs\\Sam's Notes.txt" <<<"$info" || fail "Notes shortcut's target"
echo "shortcut checks passed"

[ "$(regvalue 'HKCU\Environment' SAMTOOL_HOME)" = "$wtarget\\" ] ||
  fail "SAMTOOL_HOME is '$(regvalue 'HKCU\Environment' SAMTOOL_HOME)'"
path_value="$(regvalue 'HKCU\Environment' SAMTOOL_PATH)"
[ "$path_value" = "C:\\earlier;$wtarget\\bin" ] || fail "SAMTOOL_PATH (appended) is '$path_value'"
system_value="$(regvalue "$sysenv" SAMTOOL_SYSTEM)"
[ "$system_value" = "$wtarget\\docs;C:\\earlier" ] || fail "SAMTOOL_SYSTEM (prefixed) is '$system_value'"
[ "$(regvalue 'HKCU\Environment' SAMTOOL_KEEP)" = "kept" ] || fail "SAMTOOL_KEEP"
echo "environment checks passed"

# ---- uninstall ----
# The folder goes on the command line again: the installer resolves the
# environment values it takes out from TARGETDIR, which it does not keep.
msi /x "$product" /qn /l*v "$(winpath "$work/remove.log")" TARGETDIR="$wtarget\\" ||
  { tr -d '\r\0' <"$work/remove.log" | tail -40 >&2; fail "the product did not uninstall"; }
[ -z "$(regvalue 'HKCU\Software\Quill Works\Sam'"'"'s Tool' InstallFolder)" ] || fail "InstallFolder stayed"
[ -z "$(classes .samnote "")" ] || fail ".samnote stayed"
[ -z "$(regvalue "$colour_key" Colour)" ] || fail "Colour stayed"
[ ! -e "$readme_lnk" ] || fail "the Read Me shortcut stayed"
[ -z "$(regvalue 'HKCU\Environment' SAMTOOL_HOME)" ] || fail "SAMTOOL_HOME (Delete on) stayed"
[ ! -e "$notes_lnk" ] || fail "the Notes shortcut stayed"
# Delete on: what the install added goes, what was there before may stay.
for name in SAMTOOL_PATH SAMTOOL_SYSTEM; do
  key='HKCU\Environment'; [ "$name" = SAMTOOL_SYSTEM ] && key="$sysenv"
  value="$(regvalue "$key" "$name")"
  case "$value" in *"$wtarget"*) fail "$name (Delete on) still holds the install's part: '$value'" ;; esac
  setenv "$key" "$name"
done
[ "$(regvalue 'HKCU\Environment' SAMTOOL_KEEP)" = "kept" ] || fail "SAMTOOL_KEEP (Delete off) went"
setenv 'HKCU\Environment' SAMTOOL_KEEP
echo "example install checks passed"
