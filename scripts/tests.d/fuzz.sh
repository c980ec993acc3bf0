#!/usr/bin/env bash
# Fuzzing with clang's libFuzzer under AddressSanitizer + UndefinedBehaviorSanitizer: builds the
# `fuzz` preset and runs every target in tests/fuzz for a bounded time (QUELT_FUZZ_SECONDS, 30 by
# default) from its seeds in tests/fuzz/corpus/<target>/ plus what earlier runs found (kept in
# build/fuzz/corpus/). Prints each target's executions and coverage. A crash, leak, sanitizer
# report or hang fails it and prints the path of the input that reproduces it.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds="${QUELT_FUZZ_SECONDS:-30}"
targets=(image_header cli_args device_replies)

if ! command -v clang++ >/dev/null; then
  echo "fuzz: FAIL: clang++ is missing (scripts/install-deps.sh installs it)"
  exit 1
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}"

status=0
for target in "${targets[@]}"; do
  exe="$root/build/fuzz/tests/fuzz/fuzz_$target"
  corpus="$root/build/fuzz/corpus/$target"
  crashes="$root/build/fuzz/crashes"
  log="$root/build/fuzz/$target.log"
  mkdir -p "$corpus" "$crashes"
  set +e
  # -timeout: one input taking longer than 10 s counts as a hang. The outer limit only guards
  # against libFuzzer itself not stopping.
  timeout $((seconds + 60)) "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/$target-" \
    "$corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1
  code=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  corp=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<<"$done_line")
  if [ "$code" -eq 0 ] && [ -n "$done_line" ]; then
    echo "fuzz: $target: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), coverage ${cov:-?} edges, ${ft:-?} features, corpus ${corp:-?} inputs"
  else
    status=1
    echo "fuzz: FAIL: $target ended with $code after ${runs:-?} executions"
    grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|ALARM|out-of-memory' "$log" | head -5 || true
    reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    if [ -n "$reproducer" ]; then
      echo "fuzz: reproducer: $reproducer"
      echo "fuzz: run it again with: $exe $reproducer"
    fi
    echo "fuzz: the whole output is in $log"
  fi
done
[ "$status" -eq 0 ] && echo "fuzz: every target passed"
exit "$status"
