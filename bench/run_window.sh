#!/usr/bin/env bash
# The search through the real main window, from the Start click to the closing row,
# next to the same search without the window and a bare walker that opens and
# reads every file once, on the 100,000-file tree of run_search.sh (made here when
# missing). Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
files="${OSTRAND_BENCH_FILES:-100000}"
tree="${TMPDIR:-/tmp}/ostrand-bench-tree-v2-$files"
if [ ! -f "$tree.ready" ]; then
  rm -rf "$tree"
  python3 "$top/bench/make_tree.py" "$tree" "$files"
  touch "$tree.ready"
fi
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm the page cache
timeout 1800 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}"
