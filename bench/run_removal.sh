#!/usr/bin/env bash
# What the removal guard costs a search with automatic removal: 2,000 pairs of
# 16 KiB files searched through the real window with removal off and on, next to a
# bare delete of the same files. (With large files the guard's cost is reading both
# files once more; the write-back of a freshly made tree of large files drowns it
# here.) Needs the environment of scripts/bench.sh.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
timeout 900 "$top/scripts/wine-run" "$OSTRAND_BUILD/bench/removal_bench.exe" 2000 16384
