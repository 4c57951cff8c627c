#!/usr/bin/env bash
# A million files beside 100,000 of the same kind (bench/make_tree.py, seed 7): the
# first search through the window on each, Start click to closing row, with its
# phases; the time per file of the two, and what each further file costs in peak
# memory: (peak at 1,000,000 - peak at 100,000) / 900,000. The trees are made when
# missing (the million takes some minutes and 15 GB) and kept in /tmp. Both trees
# are searched with their files dropped from the page cache first: 15 GB cannot be
# kept warm through a search of minutes on a machine that pages out what has not
# been touched for a minute, so only cold against cold compares like with like.
# After each search, bench/disk_floor.py reads the same files with the cache
# dropped, eight at a time: what the disk alone needs, beside what the search took;
# then, dropped again, bench/open_floor_bench.cpp opens and reads them on Wine four
# at a time with nothing else of the program: what Wine alone needs.
# Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
declare -A micro shared peak cpu floor wine
for files in 100000 1000000; do
  tree="${TMPDIR:-/tmp}/ostrand-bench-tree-v2-$files"
  if [ ! -f "$tree.ready" ]; then
    rm -rf "$tree"
    python3 "$top/bench/make_tree.py" "$tree" "$files"
    touch "$tree.ready"
  fi
  python3 "$top/bench/drop_cache.py" "$tree"
  echo "-- $files files"
  out=$(OSTRAND_WINE_TIMEOUT=3600 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/window_bench.exe" "Z:${tree//\//\\}" first)
  echo "$out" | grep -E "tree:|first search|read |phases:"
  micro[$files]=$(echo "$out" | sed -n 's/.*first search: \([0-9.]*\) microseconds a file.*/\1/p')
  shared[$files]=$(echo "$out" | sed -n 's/.*microseconds a file, \([0-9.]*\) a file of a shared size.*/\1/p')
  peak[$files]=$(echo "$out" | sed -n 's/.*(\([0-9]*\) bytes).*/\1/p')
  cpu[$files]=$(echo "$out" | sed -n 's/.*processor time \([0-9.]*\) microseconds a file.*/\1/p')
  # What the disk alone needs to read the same files once, eight at a time.
  list="$OSTRAND_BUILD/bench/shared-files-$files.txt"
  floor_line=$(python3 "$top/bench/disk_floor.py" "$tree" "$list")
  echo "      $floor_line"
  floor[$files]=$(echo "$floor_line" | sed -n 's/.*s, \([0-9.]*\) microseconds a file.*/\1/p')
  # What Wine alone needs to open and read the same files, four at a time.
  python3 "$top/bench/drop_cache.py" "$tree"
  wine_line=$(OSTRAND_WINE_TIMEOUT=3600 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/open_floor_bench.exe" \
              "Z:${list//\//\\}" | grep "wine floor:")
  echo "      $wine_line"
  wine[$files]=$(echo "$wine_line" | sed -n 's/.*s, \([0-9.]*\) microseconds a file.*/\1/p')
done
awk -v a="${micro[100000]}" -v b="${micro[1000000]}" -v pa="${peak[100000]}" -v pb="${peak[1000000]}" \
    -v ca="${cpu[100000]}" -v cb="${cpu[1000000]}" -v sa="${shared[100000]}" -v sb="${shared[1000000]}" \
    -v fa="${floor[100000]}" -v fb="${floor[1000000]}" -v wa="${wine[100000]}" -v wb="${wine[1000000]}" 'BEGIN {
  printf "time per file: %.1f us at 100,000, %.1f us at 1,000,000: ratio %.2f (target <= 1.2)\n", a, b, b / a
  printf "time per file of a shared size (the files read): %.1f us and %.1f us: ratio %.2f\n", sa, sb, sb / sa
  printf "the disk alone, per file of a shared size: %.1f us and %.1f us\n", fa, fb
  printf "Wine alone, opening and reading them four at a time: %.1f us and %.1f us: ratio %.2f\n", wa, wb, wb / wa
  printf "processor time per file (the process, not the disk): %.1f us and %.1f us: ratio %.2f\n", ca, cb, cb / ca
  printf "peak memory: %.0f MB at 100,000, %.0f MB at 1,000,000: %.0f bytes per further file (target <= 250)\n",
         pa / 1e6, pb / 1e6, (pb - pa) / 900000
}'
