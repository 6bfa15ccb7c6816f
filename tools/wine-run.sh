#!/usr/bin/env bash
# Runs a Windows program under Wine with the test environment (see tools/wine-env.sh).
# Used by CTest as the cross-compiling emulator.
# With every debug channel off, a program whose libraries cannot be loaded ends
# before it prints anything, its only trace the low byte of the status (53 for a
# missing library): keep the loader's errors, so such a death names its cause.
case "${WINEDEBUG:-}" in
  -all) export WINEDEBUG="-all,err+module" ;;
esac
# A failed run says how it ended (ctest records only "Failed"): its status
# (above 128: the signal that ended it) and its time, so a program that died at
# once, before any output of its own, explains itself. ctest's timeout ends
# this script's whole process tree, Wine with it.
# What the Wine server said meanwhile (tools/wine-env.sh names its log) is
# shown with it: a program the server ended for a fault of its own finds the
# reason only there. Other programs run at the same time, so each line of the
# span is shown, not only this program's.
log="${TQ_WINESERVER_LOG:-}"
logStart=0
[ -n "$log" ] && [ -f "$log" ] && logStart=$(stat -c %s "$log")
started=$EPOCHREALTIME
"${TQ_WINE:-/usr/lib/wine/wine64}" "$@"
status=$?
if [ "$status" -ne 0 ]; then
  ended=$EPOCHREALTIME
  elapsed=$(( (${ended/./} - ${started/./}) / 1000 ))
  printf 'wine-run: %s ended with status %d after %d ms\n' "$1" "$status" "$elapsed" >&2
  if [ -n "$log" ] && [ -f "$log" ] && [ "$(stat -c %s "$log")" -gt "$logStart" ]; then
    tail -c +"$((logStart + 1))" "$log" | tail -n 20 | sed 's/^/wine-run: the Wine server said: /' >&2
  fi
fi
exit "$status"
