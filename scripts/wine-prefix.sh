#!/usr/bin/env bash
# Makes the project's Wine prefix once (or the one for OSTRAND_WINE_DPI, set to that
# display scale). Windows close at once only when the X11 driver does not wait for
# a window manager, hence Managed=N.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/.ostrand-ready" ] && exit 0
echo "Making the Wine prefix in $WINEPREFIX (once; about ten seconds)"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1 || true
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
if [ -n "${OSTRAND_WINE_DPI:-}" ]; then
  timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$OSTRAND_WINE_DPI" /f >/dev/null 2>&1
fi
timeout 120 wineserver -w || true
touch "$WINEPREFIX/.ostrand-ready"
