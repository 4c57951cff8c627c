#!/usr/bin/env bash
# Opens Ostrand.exe under Wine on the current X display.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
make run: there is no X display ($DISPLAY is empty), so Wine cannot show the window.
Run it on a desktop session, or over ssh -X, or inside a virtual display:
    xvfb-run -a make run        (Xvfb is installed by scripts/setup.sh)
MSG
  exit 1
fi
"$top/scripts/wine-prefix.sh"
exec "$top/scripts/wine-run" "${OSTRAND_BUILD:-$top/build}/Ostrand.exe"
