#!/usr/bin/env bash
# The search on a generated tree of 100,000 files, next to jdupes, fdupes and rmlint
# on the same tree in the same run. Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
source "$top/bench/tree.sh"
megabytes=$(du -sm --apparent-size "$tree" | cut -f1)

peer() {
  local name="$1"; shift
  command -v "$1" >/dev/null || { echo "$name  not installed"; return; }
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  awk -v n="$name" -v s="$start" -v e="$end" -v f="$files" -v m="$megabytes" \
    'BEGIN { t = e - s; printf "%-8s %.0f files/s, %.0f MB/s (whole search %.2f s)\n", n, f / t, m / t, t }'
}

"$top/scripts/wine-run" "$OSTRAND_BUILD/bench/search_bench.exe" "Z:${tree//\//\\}"
peer jdupes jdupes -r -q "$tree"
peer fdupes fdupes -r -q "$tree"
out="$(mktemp -d)"
peer rmlint rmlint --no-with-color -o json:"$out/rmlint.json" -T df "$tree"
rm -rf "$out"
echo "(tree kept in $tree for the next run; remove it with: rm -rf $tree $tree.ready)"
