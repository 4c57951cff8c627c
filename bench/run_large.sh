#!/usr/bin/env bash
# The search through the window on about 200 files of 1 to 50 MiB where most sizes
# are unique: the bytes it reads next to the bytes of the files that share a size,
# and its time next to jdupes in the same run. Needs the environment of scripts/bench.sh.
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
if command -v jdupes >/dev/null; then
  start=$(date +%s.%N)
  jdupes -r -q "$tree" >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" -v m="$megabytes" 'BEGIN { printf "jdupes   whole search %.2f s (%d MB tree)\n", e - s, m }'
else
  echo "jdupes   not installed"
fi
echo "(tree kept in $tree; remove it with: rm -rf $tree $tree.ready)"
