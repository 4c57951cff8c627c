#!/usr/bin/env bash
# Builds one libFuzzer target per plain reader natively with clang (AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for SECONDS (default 30), starting
# from its seeds in fuzz/corpus/<target>/. Prints the executions per target and
# fails when any target finds a crash, a leak, a hang or undefined behaviour; the
# input that did it is kept in build-fuzz/crashes/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
out="${OSTRAND_FUZZ_BUILD:-$top/build-fuzz}"
"$top/scripts/setup.sh" --fuzz
cd "$top"
mkdir -p "$out/crashes"

# Each target: its name (fuzz/<name>.cpp), the longest input it is given, the plain
# units it links. The list reader's limit lets a token outgrow its 32,767 units.
targets=(
  "bin_record_fuzz 4096 shell/bin_records.cpp"
  "trash_entry_fuzz 4096 shell/bin_records.cpp"
  "journal_fuzz 4096 core/journal_format.cpp"
  "list_format_fuzz 70000 search/list_format.cpp core/file_list.cpp base/text_arena.cpp"
)
# UBSan only reports and carries on unless told to stop; stopping makes it a crash.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for line in "${targets[@]}"; do
  read -r name max_len sources <<<"$line"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. "fuzz/$name.cpp" $sources -o "$out/$name"
  corpus="$out/corpus/$name"  # grows as the fuzzer learns; the seeds in git stay as they are
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$name"/* "$corpus"/
  if [ "$name" = list_format_fuzz ]; then
    # A path past the token limit: 66 KB, too big for a seed in git, and the fuzzer
    # grows its inputs too slowly to get there by itself.
    python3 -c 'import sys; u = lambda t: t.encode("utf-16-le"); sys.stdout.buffer.write(
      b"\x40\xff\xfe\0\0" + u("OFLT0001*1*C:\\" + "x" * 33000 + "*1*2*3*4*5*0*ENDLIST"))' >"$corpus/long_path"
  fi
  result=0
  "$out/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/crashes/$name-" "$corpus" >"$out/$name.log" 2>&1 || result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log" | tail -1)
  if [ "$result" -eq 0 ]; then
    echo "$name: ${runs:-?} executions in $seconds s, no crash"
  else
    echo "$name: FAILED after ${runs:-?} executions (exit $result); log $out/$name.log" >&2
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)' "$out/$name.log" >&2 || true
    status=1
  fi
done
exit $status
