#!/usr/bin/env bash
# Two-file comparison speed: two identical 1 GiB files and two with scattered
# differences, page cache warm, next to cmp and to reading both files with cat.
set -euo pipefail
top="${top:-$(cd "$(dirname "$0")/.." && pwd)}"
build="${OSTRAND_BUILD:-$top/build}"
size_mib="${OSTRAND_BENCH_MIB:-1024}"

free_mib=$(df -Pm /tmp | awk 'NR == 2 { print $4 }')
if [ "$free_mib" -lt $((size_mib * 3 + 512)) ]; then
  echo "run_compare: needs $((size_mib * 3 + 512)) MiB free in /tmp, has $free_mib; skipped"
  exit 0
fi
dir="$(mktemp -d /tmp/ostrand-compare-bench.XXXXXX)"
trap 'rm -rf "$dir"' EXIT

head -c "$((size_mib * 1048576))" /dev/urandom > "$dir/a"
cp "$dir/a" "$dir/same"
cp "$dir/a" "$dir/scattered"
# 2000 differing bytes, in runs of 1 to 16, scattered over the file.
python3 - "$dir/scattered" <<'PY'
import os, random, sys
random.seed(1)
size = os.path.getsize(sys.argv[1])
with open(sys.argv[1], "r+b") as f:
    for _ in range(2000):
        offset = random.randrange(size - 16)
        f.seek(offset)
        run = f.read(random.randint(1, 16))
        f.seek(offset)
        f.write(bytes(x ^ 0xA5 for x in run))
PY

seconds() {  # runs the command, prints its wall time in seconds
  local start end
  start=$(date +%s.%N)
  # cmp writes into a file: GNU cmp stops at the first difference when its output is /dev/null.
  if [ "$1" = cmp ]; then "$@" > "$dir/out" || true; else "$@" > /dev/null || true; fi
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
rate() { echo "scale=2; $1 / $2 / 1000000000" | bc -l; }
best() {  # best of three
  local b="" t
  for _ in 1 2 3; do
    t=$(seconds "$@")
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}

cat "$dir/a" "$dir/same" "$dir/scattered" > /dev/null  # warm the page cache
bytes=$((size_mib * 1048576 * 2))
win() { echo "Z:$1" | tr / '\\'; }

for pair in same scattered; do
  echo "-- $size_mib MiB, $pair"
  t=$(best cat "$dir/a" "$dir/$pair"); printf '%-28s %8.3f s  %6s GB/s\n' "cat both (Linux)" "$t" "$(rate $bytes "$t")"
  if [ "$pair" = same ]; then
    t=$(best cmp "$dir/a" "$dir/$pair"); label="cmp (Linux)"
  else
    t=$(best cmp -l "$dir/a" "$dir/$pair"); label="cmp -l (Linux, all bytes)"
  fi
  printf '%-28s %8.3f s  %6s GB/s\n' "$label" "$t" "$(rate $bytes "$t")"
  "$top/scripts/wine-run" "$build/bench/compare_bench.exe" "$(win "$dir/a")" "$(win "$dir/$pair")" 3 2>/dev/null
done
