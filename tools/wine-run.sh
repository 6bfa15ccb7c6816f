#!/usr/bin/env bash
# Runs a Windows program under Wine with the test environment (see tools/wine-env.sh).
# Used by CTest as the cross-compiling emulator.
# With every debug channel off, a program whose libraries cannot be loaded ends
# before it prints anything, its only trace the low byte of the status (53 for a
# missing library): keep the loader's errors, so such a death names its cause.
case "${WINEDEBUG:-}" in
  -all) export WINEDEBUG="-all,err+module" ;;
esac
exec "${TQ_WINE:-/usr/lib/wine/wine64}" "$@"
