#!/usr/bin/env bash
# Drives the real Tarnquill.exe under Wine as a user would (tqdrive) through two
# builds of a product with update support:
#  1. version 1.0 is built; nothing is uploaded, and the build keeps its
#     cabinet as the baseline of the next version's update;
#  2. version 1.1, with app.exe changed and the version change carried by the
#     project, is built; the update hand-over that follows the build is
#     answered Yes: the update is made, recorded and uploaded silently to a
#     local FTP server (python3-pyftpdlib on 127.0.0.1, a port the system
#     picks);
#  3. the server holds both update lists and the version folder with the
#     update file, the same bytes as the local copy, which the update-file
#     reader accepts, holding app.exe; the password went to the server only.
#   check-upload-drive.sh PROGRAM_DIR TOOLS_DIR WORK_DIR
set -euo pipefail
program_dir="$1"; tools_dir="$2"; work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../tools/testing/drive-env.sh
source "$here/tools/testing/drive-env.sh"

quiet_program_copy "$program_dir" "$work"
mkdir -p "$work/files"
project="$work/proj/Quill Tool.ipr"
password="pw-drive-51"
server="$work/ftp"

server_pid=""
stop_server() {
  [ -n "$server_pid" ] || return 0
  touch "$server/stop"
  # It ends at its next loop step; a server that does not is ended here.
  for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
}
trap stop_server EXIT

# The prompts of a failed update or upload are answered in every drive: the
# build then ends, and the checks say what went wrong.
failure_answers=("answer:No changes to update.=OK" "answer:Nothing to upload.=OK" "answer:Upload incomplete.=OK"
                 "answer:rolled back=OK" "answer:Error connecting to ftp site=OK")

# drive VERSION FROM STEPS...: writes the project of that version and builds it
# in the real window; prints tqdrive's output and fails on a failed drive.
drive() {
  local version="$1" from="$2" out status=0 port
  shift 2
  port="$(cat "$server/port" 2>/dev/null || echo 21)"
  "$TQ_WINE" "$tools_dir/tqupdproject.exe" "$(winpath "$work/files")" "$(winpath "$project")" \
    "$version" "$from" "$port" "$password" </dev/null >/dev/null || fail "writing the $version project"
  # The steps' log as they go, for a look at a run that is still going.
  "$TQ_WINE" "$tools_dir/tqdrive.exe" "$(winpath "$prog/Tarnquill.exe")" "$(winpath "$project")" -- \
    "answer:Correct version numbers=Yes" "answer:Update support is enabled=OK" "answer:needs saving=No" \
    "answer:Program Title Line=OK" "${failure_answers[@]}" "$@" "timeout:420" "click:Build" "wait:Build Complete!Build Error" </dev/null 2>&1 |
    tr -d '\r' >"$work/drive-$version.log" || status=$?
  out="$(cat "$work/drive-$version.log")"
  echo "$out"
  drive_output="$out"
  grep -qx "exit code: 0" <<<"$out" || fail "driving the build of $version failed ($status)"
}

# 1. The first version: no update to make, nothing to upload.
printf 'version one %.0s' $(seq 400) >"$work/files/app.exe"
drive 1.0 "" "answer:Do you want to proceed?=No"
! grep -q '^answered "Do you want to proceed?"' <<<"$drive_output" || fail "the first version offered an update"
baseline="$prog/Patches/Quill Tool/Version1.0/Old/primary.cab"
[ -f "$baseline" ] || fail "the first build kept no cabinet for updates"

# 2. The second version, its update handed over to the local server. The server
# starts now: it ends by itself ten minutes after its start.
mkdir -p "$server"
/usr/bin/python3 "$here/updates/tests/ftp/ftpserver.py" "$server" publisher "$password" \
  </dev/null >"$work/ftp-server.out" 2>&1 &
server_pid=$!
for _ in $(seq 1200); do
  [ -s "$server/port" ] && break
  kill -0 "$server_pid" 2>/dev/null || fail "the FTP server ended: $(cat "$work/ftp-server.out")"
  sleep 0.1
done
[ -s "$server/port" ] || fail "the FTP server did not listen"
printf 'version two %.0s' $(seq 400) >"$work/files/app.exe"
drive 1.1 1.0 "answer:Do you want to proceed?=Yes" "answer:Update created successfully.=OK" \
  "answer:Upload completed successfully.=OK"
grep -qx 'answered "Upload completed successfully." with OK' <<<"$drive_output" ||
  fail "the upload did not complete"
stop_server

# 3. What reached the server.
root="$server/root"
find "$root" | sort
list="$root/updates/AllowedUpdates.ini"
grep -q "From1.0To1.1=Yes" "$list" || fail "AllowedUpdates.ini lists no update 1.0 -> 1.1: $(cat "$list" 2>&1)"
grep -q "^\[Version1.0\]" "$root/updates/Updates.ini" || fail "Updates.ini has no Version1.0 section"
upd_name="$(sed -n 's/^\(Patch[^=]*\.upd\)=.*/\1/p' "$root/updates/Updates.ini" | head -n 1)"
[ -n "$upd_name" ] || fail "Updates.ini lists no update file: $(cat "$root/updates/Updates.ini")"
upd="$root/updates/Version1.0/$upd_name"
[ -f "$upd" ] || fail "the listed update file $upd_name is not on the server"
cmp "$upd" "$prog/Patches/Quill Tool/Version1.0/$upd_name" || fail "the uploaded update file differs from the local one"
check="$("$TQ_WINE" "$tools_dir/updcheck.exe" "$(winpath "$upd")" </dev/null | tr -d '\r')" || true
echo "$check"
grep -q "^ok " <<<"$check" || fail "the update file does not read back"
grep -qx "app.exe" <<<"$check" || fail "the update file does not hold app.exe"
grep -qx "PASS \*\*\*\*" "$server/commands.log" || fail "the upload never logged in"
if grep -rqF "$password" "$prog"/*.log "$work"/*.out 2>/dev/null; then fail "the password reached a log"; fi
echo "upload drive checks passed"
