#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS: builds the fuzz targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, libFuzzer) into build-fuzz/ and runs each for SECONDS from the
# seed corpus in tests/fuzz/corpus/. New inputs go to build-fuzz/corpus/, a crashing input to
# build-fuzz/crashes/; the script fails when a target fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:?usage: scripts/fuzz.sh SECONDS}"
scripts/install-deps.sh test

cmake --preset fuzz > /dev/null
cmake --build --preset fuzz

export QT_QPA_PLATFORM=offscreen
source scripts/sanitizer-env.sh

passed=0
failed=0
for target in receiver property_record; do
  work="build-fuzz/corpus/$target"
  crashes="build-fuzz/crashes/$target/"
  mkdir -p "$work" "$crashes"
  echo "== fuzz_$target for ${seconds} s =="
  if ! "build-fuzz/tests/fuzz/fuzz_$target" "$work" "tests/fuzz/corpus/$target" \
      -max_total_time="$seconds" -artifact_prefix="$crashes" -print_final_stats=1 2> "build-fuzz/fuzz_$target.log"; then
    failed=$((failed + 1))
    tail -n 60 "build-fuzz/fuzz_$target.log"
    echo "fuzz_$target FAILED; the input is in $crashes"
  else
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "build-fuzz/fuzz_$target.log" || true
    echo "fuzz_$target clean"
    passed=$((passed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
