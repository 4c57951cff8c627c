#!/usr/bin/env bash
# A million files beside 100,000 of the same kind (bench/make_tree.py, seed 7): the
# first search through the window on each, Start click to closing row, with its
# phases; the time per file of the two, and what each further file costs in peak
# memory: (peak at 1,000,000 - peak at 100,000) / 900,000. The trees are made when
# missing (the million takes some minutes and 15 GB) and kept in /tmp. Needs the
# environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
declare -A micro peak
for files in 100000 1000000; do
  OSTRAND_BENCH_FILES=$files source "$top/bench/tree.sh"
  echo "-- $files files"
  out=$(timeout 3600 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}" first)
  echo "$out" | grep -E "tree:|first search|read |phases:"
  micro[$files]=$(echo "$out" | sed -n 's/.*first search: \([0-9.]*\) microseconds a file.*/\1/p')
  peak[$files]=$(echo "$out" | sed -n 's/.*(\([0-9]*\) bytes).*/\1/p')
done
awk -v a="${micro[100000]}" -v b="${micro[1000000]}" -v pa="${peak[100000]}" -v pb="${peak[1000000]}" 'BEGIN {
  printf "time per file: %.1f us at 100,000, %.1f us at 1,000,000: ratio %.2f (target <= 1.2)\n", a, b, b / a
  printf "peak memory: %.0f MB at 100,000, %.0f MB at 1,000,000: %.0f bytes per further file (target <= 250)\n",
         pa / 1e6, pb / 1e6, (pb - pa) / 900000
}'
