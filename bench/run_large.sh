#!/usr/bin/env bash
# The search through the window on about 200 files of 1 to 50 MiB where most sizes
# are unique: the bytes it reads next to the bytes of the files that share a size,
# and its time next to jdupes in the same run; then the same search right after a
# search of 100,000 files in the same window. Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
tree="${TMPDIR:-/tmp}/ostrand-bench-large-tree"
if [ ! -f "$tree.ready" ]; then
  rm -rf "$tree"
  python3 "$top/bench/make_large_tree.py" "$tree"
  touch "$tree.ready"
fi
megabytes=$(du -sm --apparent-size "$tree" | cut -f1)
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm the page cache

"$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}"
# The same search right after a search of 100,000 files in the same window.
large="$tree"
OSTRAND_BENCH_FILES=100000 source "$top/bench/tree.sh"
echo "-- right after a search of the 100,000-file tree"
"$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${large//\//\\}" after "Z:${tree//\//\\}" |
  grep -v "^  (round"
tree="$large"
if command -v jdupes >/dev/null; then
  best=1e9
  for round in 1 2 3; do
    start=$(date +%s.%N)
    jdupes -r -q "$tree" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (t < b ? t : b) }')
  done
  awk -v t="$best" -v m="$megabytes" 'BEGIN { printf "jdupes   whole search %.3f s, best of 3 (%d MB tree)\n", t, m }'
else
  echo "jdupes   not installed"
fi
echo "(tree kept in $tree; remove it with: rm -rf $tree $tree.ready)"
