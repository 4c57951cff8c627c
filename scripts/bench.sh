#!/usr/bin/env bash
# Runs every benchmark script in bench/ (run_*.sh) under a display and Wine.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
export OSTRAND_BUILD="${OSTRAND_BUILD:-$top/build}"
# A prefix of its own: the test runner stops the test prefix's Wine server.
export OSTRAND_WINE_PREFIX="$OSTRAND_BUILD/wine/bench-prefix"
"$top/scripts/setup.sh" --bench
inner() {
  source "$top/scripts/wine-env.sh"
  "$top/scripts/wine-prefix.sh"
  for script in "$top"/bench/run_*.sh; do
    [ -e "$script" ] || continue
    echo "== $(basename "$script")"
    bash "$script"
  done
}
export -f inner
export top
exec "$top/scripts/with-display.sh" bash -c inner
