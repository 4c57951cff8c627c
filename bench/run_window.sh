#!/usr/bin/env bash
# The search through the real main window, from the Start click to the closing row,
# next to the same search without the window and a bare walker that opens and
# reads every file once, on the 100,000-file tree of run_search.sh (made here when
# missing). Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
source "$top/bench/tree.sh"
timeout 1800 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}"
