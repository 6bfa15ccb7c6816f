#!/usr/bin/env bash
# Runs a Windows program under Wine with the test environment (see tools/wine-env.sh).
# Used by CTest as the cross-compiling emulator.
exec "${TQ_WINE:-/usr/lib/wine/wine64}" "$@"
