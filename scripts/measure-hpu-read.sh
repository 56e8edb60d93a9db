#!/usr/bin/env bash
# scripts/measure-hpu-read.sh [PASSES] [SECONDS]: the HPU window's read in the real program under
# Xvfb, connected through the real serial path (Qt SerialPort on a pseudo-terminal) to
# bus_simulator, whose HPU never answers, so the first read goes on pass after pass. The user's
# choice of HPU > EEPROM is made once the port is connected (bench/OnePortProgram.cpp).
#  (a) The duration of PASSES passes of the worker (default 10; the time from one step of the
#      read's progress value to the next, seen within 1 ms) with no byte arriving, with a
#      converter frame every 250 ms and with one every 20 ms (the line nearly full).
#  (b) The program's share of one core over SECONDS (default 30, after a 5 s warm-up) with no
#      byte arriving: the window open and its worker waiting out its ticks.
# Limits: every pass within 21 ticks (350 ms) plus 20 ms; under 1 % of a core. Exits 1 when one
# is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

passes="${1:-10}"
seconds="${2:-30}"
warmup=5
longest_pass_ms=370

source scripts/real-program-under-xvfb.sh
here="$work/hpu-read"
start_display "$here"
program_on_port "$here"

traffic=("no bytes:--converter-stop-after 0"
         "a frame every 250 ms:--converter-period 250"
         "a frame every 20 ms:--converter-period 20")
echo "== HPU read: $passes passes per case, CPU over ${seconds} s, $(nproc) cores, $(date -u +%Y-%m-%d) =="
for case in "${traffic[@]}"; do
  name="${case%%:*}"
  # Unquoted on purpose: the simulator's options for the case.
  # shellcheck disable=SC2086
  start_bus "$here" --no-answers ${case#*:} --duration $((passes + 15))
  simulator=$launched
  # The program quits by itself once it has printed its passes; how it exits is not looked at.
  (timeout $((passes + 10)) "${program_on_port[@]}" "$(bus_port "$here")" hpu-eeprom "$passes" \
    > "$here/passes" || true) 2>> "$here/program.log"
  kill "$simulator" 2> /dev/null || true
  wait "$simulator" 2> /dev/null || true
  summary="$(grep '^passes=' "$here/passes" || true)"
  if [ -z "$summary" ]; then
    echo "MISSED: no passes measured with $name"
    failed=1
    continue
  fi
  echo "pass, $name: $summary"
  echo "        each: $(grep '^pass ' "$here/passes" | awk '{ printf "%s ", $3 }')"
  max_ms="$(printf '%s' "$summary" | sed 's/.*max_ms=\([0-9.]*\).*/\1/')"
  check "$max_ms <= $longest_pass_ms" "every pass within $longest_pass_ms ms with $name"
done

start_bus "$here" --no-answers --converter-stop-after 0 --duration $((warmup + seconds + 10))
"${program_on_port[@]}" "$(bus_port "$here")" hpu-eeprom > /dev/null 2>> "$here/program.log" &
program=$!
track "$program"
sleep "$warmup"
program_start=$(cpu_ticks "$program")
started=$(date +%s.%N)
sleep "$seconds"
program_end=$(cpu_ticks "$program")
ended=$(date +%s.%N)
program_share=$(share $((program_end - program_start)) "$started" "$ended")
echo "CPU, one core, the window open and idle: ${program_share} %"
check "$program_share < 1" "under 1 % of one core"
exit "$failed"
