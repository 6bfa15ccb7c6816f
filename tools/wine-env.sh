# Source this file: prepares one Wine prefix for a test or job run and starts a
# persistent Wine server with its services detached from our pipes.
#   TQ_WINE_ROOT  folder that holds the prefix (default: build/wine)
#   TQ_DISPLAY    "null" (default, headless windows) or "x11" (needs $DISPLAY, e.g. Xvfb)
_tq_root="${TQ_WINE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}"
mkdir -p "$_tq_root"
_tq_driver="null"
[ "${TQ_DISPLAY:-null}" = "x11" ] && _tq_driver="x11"
# One prefix per graphics driver, its driver set once when it is made: a switch
# needs a server restart, which ends every program of the prefix (the server
# ends their threads with SIGQUIT). With one prefix for both, a screenshot
# script run with the tests' TQ_WINE_ROOT ended the test programs running then,
# and the next test's switch back ended the screenshot's.
if [ "$_tq_driver" = x11 ]; then export WINEPREFIX="$_tq_root/prefix-x11"; else export WINEPREFIX="$_tq_root/prefix"; fi
# The server's own errors: when it finds a program at fault ("Protocol error"),
# it ends that program with status 1, and what it says goes to the stderr it
# was started with. Whichever call below starts the server, that is this file,
# so tools/wine-run.sh can show what the server said while a program ran.
export TQ_WINESERVER_LOG="$WINEPREFIX.server.log"
# The 64-bit loader starts 64-bit programs itself and hands 32-bit ones to Wine's
# 32-bit loader, which needs a kernel that runs 32-bit Linux programs.
if [ -x /usr/lib/wine/wine64 ]; then export TQ_WINE_LOADER=/usr/lib/wine/wine64; else export TQ_WINE_LOADER="$(command -v wine64 || command -v wine)"; fi
# The loader is linked at a fixed address (0x7d000000) just below the page where
# Wine maps the shared user data (0x7ffe0000), and without Wine's preloader
# (this distribution ships none) nothing keeps the loader's C heap off that
# page. With address-space randomisation the heap starts anywhere in the
# gigabyte above the loader; about one start in a thousand or two it covers
# the page, and the program ends with status 1 before any code of its own runs
# ("failed to map the shared user data", an error shown only with err on), or
# the desktop's explorer does and the program finds no display driver. So Wine
# runs with randomisation off (setarch -R), its heap then right above the
# loader, where the kernel allows it; a container whose seccomp refuses that
# personality runs the loader as it is.
if setarch -R true 2>/dev/null; then
  export TQ_WINE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-loader.sh"
else
  export TQ_WINE="$TQ_WINE_LOADER"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Recycle-bin deletes go below XDG_DATA_HOME: keep them out of the host's trash.
export XDG_DATA_HOME="$_tq_root/xdg"
mkdir -p "$XDG_DATA_HOME"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$TQ_WINE" wineboot --init </dev/null >/dev/null 2>>"$TQ_WINESERVER_LOG"
  wineserver -w
fi
# A crashing program ends at once: no debugger is attached to it (an attached
# debugger waits forever, holding the test runner's pipes). Wine falls back to
# its own debugger when the value is missing, so it names a program that is not
# there.
if [ ! -f "$WINEPREFIX/.tq-no-debugger" ]; then
  for _tq_key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                 'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
    "$TQ_WINE" reg add "$_tq_key" /v Debugger /d false /f </dev/null >/dev/null 2>>"$TQ_WINESERVER_LOG" || true
  done
  touch "$WINEPREFIX/.tq-no-debugger"
fi
if ! grep -q "\"Graphics\"=\"$_tq_driver\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
  "$TQ_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$_tq_driver" /f </dev/null >/dev/null 2>>"$TQ_WINESERVER_LOG"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi
# One persistent server; the services must not inherit our stdout/stderr or
# callers that wait on those pipes (ctest) never finish.
wineserver -p </dev/null >/dev/null 2>>"$TQ_WINESERVER_LOG" || true  # fails when one already runs
setsid "$TQ_WINE" cmd /c exit </dev/null >/dev/null 2>>"$TQ_WINESERVER_LOG"
# TQ_WINDOWS_BUILD: the Windows build that runs here: win32 (the shipped i686
# programs) where Wine's 32-bit side runs, else win64.
if "$TQ_WINE" 'C:\windows\syswow64\cmd.exe' /c exit 7 </dev/null >/dev/null 2>&1; [ $? -eq 7 ]; then
  export TQ_WINDOWS_BUILD=win32
else
  export TQ_WINDOWS_BUILD=win64
fi
unset _tq_root _tq_driver _tq_key
