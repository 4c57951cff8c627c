#!/usr/bin/env bash
# How the search time per file grows with the tree: the first search through the
# window on trees of 25,000, 50,000, 100,000 and 200,000 files of the same kind
# (made here when missing, kept in /tmp). Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
for files in 25000 50000 100000 200000; do
  OSTRAND_BENCH_FILES=$files source "$top/bench/tree.sh"
  echo "-- $files files"
  timeout 1800 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}" first |
    grep -E "tree:|first search"
done
