#!/usr/bin/env bash
# The memory of long results lists: 5,000 and 10,000 identical (empty) files,
# 12,497,500 and 49,995,000 twin rows. Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
for files in 5000 10000; do
  dir="${TMPDIR:-/tmp}/ostrand-bench-rows-$files"
  if [ ! -d "$dir" ]; then
    mkdir -p "$dir"
    (cd "$dir" && seq -f "e%05g" 1 "$files" | xargs touch)
  fi
  timeout 1800 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/rows_bench.exe" "Z:${dir//\//\\}"
done
