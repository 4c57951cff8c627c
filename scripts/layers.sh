#!/usr/bin/env bash
# Prints which program folder includes which (each line: folder -> folder, and how
# many includes), and fails when an include points up the order of layers:
#   app -> about, search, actions -> compare -> ui -> core -> shell -> base
set -euo pipefail
cd "$(dirname "$0")/.."
rank() { case "$1" in app) echo 6;; about|search|actions) echo 5;; compare) echo 4;; ui) echo 3;; core) echo 2;; shell) echo 1;; base) echo 0;; *) echo -1;; esac; }
edges=$(for folder in base shell core ui compare actions search about app; do
  grep -H -o '#include "[a-z_]*/[a-z_]*\.h"' "$folder"/*.cpp "$folder"/*.h 2>/dev/null |
    sed -E 's#^([a-z_]+)/[^:]*:\#include "([a-z_]+)/.*#\1 \2#' | awk '$1 != $2'
done | sort | uniq -c)
echo "$edges"
status=0
while read -r count from to; do
  [ -n "$from" ] || continue
  [ "$to" = resources ] && continue
  if [ "$(rank "$to")" -ge "$(rank "$from")" ]; then
    echo "points up: $from -> $to ($count)"; status=1
  fi
done <<< "$edges"
exit $status
