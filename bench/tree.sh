# Sourced by the benchmark scripts: the generated 100,000-file tree (made once and
# kept in /tmp for later runs), its path in $tree, with the page cache warmed.
files="${OSTRAND_BENCH_FILES:-100000}"
tree="${TMPDIR:-/tmp}/ostrand-bench-tree-v2-$files"
if [ ! -f "$tree.ready" ]; then
  rm -rf "$tree"
  python3 "$top/bench/make_tree.py" "$tree" "$files"
  touch "$tree.ready"
fi
find "$tree" -type f -print0 | xargs -0 cat >/dev/null  # warm the page cache
