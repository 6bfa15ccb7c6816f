#!/bin/sh
# Starts Wine's loader ($TQ_WINE_LOADER) with the address space laid out
# without randomisation; tools/wine-env.sh says why and names it $TQ_WINE where
# the kernel allows it. The programs a Windows program starts inherit the layout.
exec setarch -R "$TQ_WINE_LOADER" "$@"
