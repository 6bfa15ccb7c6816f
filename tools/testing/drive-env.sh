# Sourced by the checks that drive the real programs under Wine: the Wine
# environment (unless the test run set it up already), fail and winpath.
if [ -z "${TQ_WINE:-}" ]; then
  # shellcheck source=../wine-env.sh
  source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/wine-env.sh"
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
# fresh_program_copy PROGRAM_DIR WORK_DIR: an empty work folder holding a copy of
# the program directory as WORK_DIR/prog, named by $prog.
fresh_program_copy() {
  rm -rf "$2"
  mkdir -p "$2"
  cp -r "$1" "$2/prog"
  prog="$2/prog"
}
# quiet_program_copy PROGRAM_DIR WORK_DIR: the same, with the marker that keeps
# the updater from starting.
quiet_program_copy() {
  fresh_program_copy "$@"
  touch "$prog/DontShowUpdates.dat"
}
# tqdrive steps that make an HTML-setup project's fonts and pages and answer the
# page reminder of the Build that follows them.
html_pages_steps=("answer:Boilerplate Options=OK" "answer:Generate Html Pages Reminder=OK"
                  "click:Font And Color Options" "answered:Boilerplate Options"
                  "click:Generate The Pages Now")
