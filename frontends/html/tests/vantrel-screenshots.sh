#!/usr/bin/env bash
# Screenshots of the real Vantrel.exe showing each setup page of the example's
# HTML distribution (make-html-example.sh) under Xvfb: the distribution is
# unpacked once, and for each page its start page shows that page in
# "mainFrame", so Vantrel fills it as it does when the page comes in turn.
#   frontends/html/tests/vantrel-screenshots.sh E2E_DIR OUT_FOLDER [PAGE ...]
# E2E_DIR: make-html-example.sh's OUT_DIR; PAGE: a page name such as CustInfo
# (default: every page).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
e2e="$(cd "$1" && pwd)"; out="$2"; shift 2
pages=("$@")
[ ${#pages[@]} -gt 0 ] || pages=(Welcome License Readme CustInfo Location Group InstallType Custom Install Progress Finish)
setup="$e2e/project/1.0.0/CD-Image/Setup.exe"
[ -f "$setup" ] || { echo "no $setup (make-html-example.sh first)" >&2; exit 1; }
mkdir -p "$out"
dist="$out/dist"
rm -rf "$dist"
unzip -q "$setup" -d "$dist"
ini="$(tr -d '\r' < "$dist/setup.ini")"
key() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" <<<"$ini" | head -1; }
args=("$(key Setup Msiname)")
for page in Welcome Finish Custom Progress; do args+=("$(key Vantrel "$page")"); done
start="$(cat "$dist/TQSetup.htm")"
for page in "${pages[@]}"; do
  sed "s/src=\"[^\"]*\.htm\"/src=\"Tq$page.htm\"/" <<<"$start" > "$dist/TQSetup.htm"
  SHOT_WAIT="${SHOT_WAIT:-8}" SHOT_DISPLAY="${SHOT_DISPLAY:-:62}" \
    "$here/tools/screenshot.sh" "$out/$page.png" "$dist/Vantrel.exe" "${args[@]}"
done
printf '%s\n' "$start" > "$dist/TQSetup.htm"
echo "screenshots in $out"
