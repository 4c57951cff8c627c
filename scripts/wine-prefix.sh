#!/usr/bin/env bash
# Makes the project's Wine prefix once. Windows close at once only when the X11
# driver does not wait for a window manager, hence Managed=N.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/.ostrand-ready" ] && exit 0
echo "Making the Wine prefix in $WINEPREFIX (once; about ten seconds)"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1 || true
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 120 wineserver -w || true
touch "$WINEPREFIX/.ostrand-ready"
