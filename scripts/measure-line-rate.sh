#!/usr/bin/env bash
# scripts/measure-line-rate.sh [SECONDS] [raw-data]: the real program under Xvfb, connected through the
# real serial path (Qt SerialPort on a pseudo-terminal) to bus_simulator, which plays converter
# and HPU frames back to back at the full 9600 bit/s. After a 5 s warm-up the program is
# watched for SECONDS (default 60): its share of one core, its peak resident memory, and its
# resident memory over the first and the last 20 s. Logging is on, into a temporary home. With
# "raw-data" the page "Raw data" is in front, so the trace is on screen the whole time.
# Limits: under 2 % of a core, peak under 80 MB, no growth (the last 20 s no higher than the
# first 20 s, give or take 512 kB of allocator slack). Exits 1 when one is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
page="${2:-}"
warmup=5
window=20
if [ "$seconds" -lt "$window" ]; then echo "SECONDS must be at least $window" >&2; exit 2; fi

source scripts/real-program-under-xvfb.sh

converter_words=245,13800,2500,0,253,80,0  # 24.5 V in, 13.8 V and 2.5 A out
start_bus --saturate --hpu-period 500 --converter-words "$converter_words" --duration $((warmup + seconds + 10))

"${program_on_port[@]}" "$(bus_port)" $page > "$work/program.log" 2>&1 &
program=$!
track "$program"

status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

sleep "$warmup"
program_start=$(cpu_ticks "$program")
xvfb_start=$(cpu_ticks "$xvfb")
started=$(date +%s.%N)
rss=()
for _ in $(seq "$seconds"); do
  sleep 1
  rss+=("$(status_kb "$program" VmRSS)")
done
program_end=$(cpu_ticks "$program")
xvfb_end=$(cpu_ticks "$xvfb")
ended=$(date +%s.%N)
peak_kb=$(status_kb "$program" VmHWM)
kill "$simulator" 2> /dev/null || true
wait "$simulator" 2> /dev/null || true

program_share=$(share $((program_end - program_start)) "$started" "$ended")
xvfb_share=$(share $((xvfb_end - xvfb_start)) "$started" "$ended")
first_kb=$(printf '%s\n' "${rss[@]:0:window}" | sort -n | tail -n 1)
last_kb=$(printf '%s\n' "${rss[@]: -window}" | sort -n | tail -n 1)

log="$(find "$work/home" -name '*_LogKorvenal_COM0.csv' | head -n 1)"
records=0
last_record=""
if [ -n "$log" ]; then
  records=$(($(wc -l < "$log") - 2))
  last_record="$(tail -n 1 "$log")"
fi

echo "== line rate: ${seconds} s measured after ${warmup} s, page ${page:-Values} in front, $(nproc) cores, $(date -u +%Y-%m-%d) =="
echo "bus:              $(grep -o 'converter_frames=[0-9]* hpu_frames=[0-9]*' "$work/simulator.log" || echo 'no summary')"
echo "log records:      $records, last: $last_record"
echo "CPU, one core:    ${program_share} % (Xvfb: ${xvfb_share} %)"
echo "peak resident:    $((peak_kb / 1024)) MB (${peak_kb} kB)"
echo "resident, max:    first ${window} s ${first_kb} kB, last ${window} s ${last_kb} kB"

failed=0
check() {  # CONDITION TEXT
  if awk "BEGIN { exit !($1) }"; then echo "ok:     $2"; else echo "MISSED: $2"; failed=1; fi
}
check "$records >= $seconds" "the program logged every second it ran"
check "$(printf '%s' "$last_record" | grep -c ';24.500;')" "the log shows the simulator's values"
check "$program_share < 2" "under 2 % of one core"
check "$peak_kb < 80 * 1024" "peak resident memory under 80 MB"
check "$last_kb <= $first_kb + 512" "no growth between the first and the last ${window} s"
exit "$failed"
