#!/usr/bin/env bash
# scripts/bench.sh [benchmark options]: builds the receiver benchmark (Google Benchmark; built as
# scripts/run.sh builds the program) into build-bench/ and prints its table, run on one core:
# converter frames a second through Serial1_DataAvailable on the in-memory port,
#  (a) WidgetsLive: the labels and the trace live on their Qt widgets (offscreen platform),
#      with the page "Values" (page:0) or "Raw data" (page:1) in front;
#  (b) ReceivePath: receive, trace text, checksum and decode alone, no cooperative thread.
# Then each figure against its floor, a guard against a regression of the handler rather than a
# record: (a) at least 100,000 frames/s, (b) at least 200,000. Plain code clears both several
# times over even on a busy machine (the line itself carries about 48 converter frames a second),
# so a miss means the handler got slower, not that the machine was busy. Exits 1 when one is
# missed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh bench
cmake --preset bench > /dev/null
cmake --build --preset bench --target receiver_benchmark > /dev/null

results="$(mktemp)"
trap 'rm -f "$results"' EXIT
echo "== receiver benchmark: $(nproc) cores, run on one; $(date -u +%Y-%m-%d) =="
QT_QPA_PLATFORM=offscreen taskset -c 0 build-bench/bench/receiver_benchmark \
  --benchmark_out="$results" --benchmark_out_format=csv "$@" 2> /dev/null

# The CSV's columns: name, iterations, real_time, cpu_time, time_unit, ..., items_per_second, ...
awk -F, '
  NR == 1 { for (i = 1; i <= NF; ++i) column[$i] = i; next }
  {
    name = $1; gsub(/"/, "", name)
    rate = $column["items_per_second"]
    floor = name ~ /ReceivePath/ ? 200000 : 100000
    verdict = rate >= floor ? "ok:    " : "MISSED:"
    if (rate < floor) missed = 1
    printf "%s %-52s %12.0f frames/s, %7.0f ns a frame (floor %d frames/s)\n", verdict, name, rate, 1e9 / rate, floor
  }
  END { exit missed }' <(sed -n '/^name,/,$p' "$results")
