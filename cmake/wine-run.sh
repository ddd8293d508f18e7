#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# The prefix belongs to the build. Without a display, the program gets one of Xvfb's, so that message
# boxes really appear.
set -e
WINEPREFIX=$1
shift
export WINEPREFIX WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$WINEPREFIX" "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # Without a window manager, Wine waits about 2 s for each message box to go away unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi
exec wine "$@"
