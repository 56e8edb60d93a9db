#!/usr/bin/env bash
# scripts/measure-line-rate.sh [SECONDS] [PAGE...]: the real program under Xvfb, connected through
# the real serial path (Qt SerialPort on a pseudo-terminal) to bus_simulator, once for each PAGE,
# all side by side so they share the machine's load:
#   values    converter and HPU frames back to back at the full 9600 bit/s, every frame with
#             new values (a ramp), the page "Values" in front;
#   raw-data  the same bus with the page "Raw data" in front, so the trace is on screen;
#   idle      connected, with no byte arriving.
# Default: all three. After a 5 s warm-up each program is watched for SECONDS (default 60): its
# share of one core, its peak resident memory, and its resident memory over the first and the
# last 20 s. Logging is on, into a temporary home per program.
# Limits: under 2 % of a core (idle: under 0.5 %), peak under 80 MB, no growth (the last 20 s no
# higher than the first 20 s, give or take 512 kB of allocator slack), and a log record for every
# second showing the bus's values (idle: showing none). Exits 1 when one is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
pages=("${@:2}")
if [ "${#pages[@]}" -eq 0 ]; then pages=(values raw-data idle); fi
warmup=5
window=20
if [ "$seconds" -lt "$window" ]; then echo "SECONDS must be at least $window" >&2; exit 2; fi
for page in "${pages[@]}"; do
  case "$page" in values | raw-data | idle) ;; *) echo "unknown page: $page (values, raw-data, idle)" >&2; exit 2 ;; esac
done

source scripts/real-program-under-xvfb.sh

# The converter's words: 24.5 V in, 13.8 V and 2.5 A out, 25.3 °C, 1200 RPM. Frame k of each
# device adds k mod ramp_steps to every word, so U_in runs from 24.5 to 34.4 V and back.
converter_words=245,13800,2500,0,253,80,0
ramp_steps=100
lowest_u_in=24.5
highest_u_in=34.4

declare -A program_pid xvfb_pid simulator_pid

start_page() {  # PAGE: its own Xvfb, bus and program, in $work/PAGE
  local page="$1" dir="$work/$1"
  start_display "$dir"
  xvfb_pid[$page]=$launched

  local bus=(--saturate --hpu-period 500 --converter-words "$converter_words" --ramp "$ramp_steps")
  if [ "$page" = idle ]; then bus=(--converter-stop-after 0); fi
  start_bus "$dir" "${bus[@]}" --duration $((warmup + seconds + 10))
  simulator_pid[$page]=$launched

  local shown=()
  if [ "$page" = raw-data ]; then shown=(raw-data); fi
  program_on_port "$dir"
  "${program_on_port[@]}" "$(bus_port "$dir")" "${shown[@]}" > "$dir/program.log" 2>&1 &
  program_pid[$page]=$!
  track "$!"
}

for page in "${pages[@]}"; do start_page "$page"; done

sleep "$warmup"
declare -A program_start xvfb_start
for page in "${pages[@]}"; do
  program_start[$page]=$(cpu_ticks "${program_pid[$page]}")
  xvfb_start[$page]=$(cpu_ticks "${xvfb_pid[$page]}")
done
started=$(date +%s.%N)
for _ in $(seq "$seconds"); do
  sleep 1
  for page in "${pages[@]}"; do status_kb "${program_pid[$page]}" VmRSS >> "$work/$page/rss"; done
done
declare -A program_end xvfb_end
for page in "${pages[@]}"; do
  program_end[$page]=$(cpu_ticks "${program_pid[$page]}")
  xvfb_end[$page]=$(cpu_ticks "${xvfb_pid[$page]}")
done
ended=$(date +%s.%N)
for page in "${pages[@]}"; do kill "${simulator_pid[$page]}" 2> /dev/null || true; done
for page in "${pages[@]}"; do wait "${simulator_pid[$page]}" 2> /dev/null || true; done

report_page() {  # PAGE
  local page="$1" dir="$work/$1"
  local program_share xvfb_share peak_kb first_kb last_kb log records last_record
  program_share=$(share $((program_end[$page] - program_start[$page])) "$started" "$ended")
  xvfb_share=$(share $((xvfb_end[$page] - xvfb_start[$page])) "$started" "$ended")
  peak_kb=$(status_kb "${program_pid[$page]}" VmHWM)
  first_kb=$(head -n "$window" "$dir/rss" | sort -n | tail -n 1)
  last_kb=$(tail -n "$window" "$dir/rss" | sort -n | tail -n 1)

  # The records of the measured seconds; the second field is U_in.
  log="$(find "$dir/home" -name '*_LogKorvenal_COM0.csv' | head -n 1)"
  : > "$dir/records"
  if [ -n "$log" ]; then tail -n +3 "$log" | tail -n "$seconds" > "$dir/records"; fi
  records=$(wc -l < "$dir/records")
  last_record="$(tail -n 1 "$dir/records")"

  echo
  echo "== line rate: ${seconds} s measured after ${warmup} s, page ${page}, $(nproc) cores, $(date -u +%Y-%m-%d) =="
  echo "bus:              $(grep -o 'converter_frames=[0-9]* hpu_frames=[0-9]*' "$dir/simulator.log" || echo 'no summary')"
  echo "log records:      $records, last: $last_record"
  echo "CPU, one core:    ${program_share} % (Xvfb: ${xvfb_share} %), $(status_kb "${program_pid[$page]}" Threads) threads"
  echo "peak resident:    $((peak_kb / 1024)) MB (${peak_kb} kB)"
  echo "resident, max:    first ${window} s ${first_kb} kB, last ${window} s ${last_kb} kB"

  check "$records >= $seconds" "the program logged every second it ran"
  if [ "$page" = idle ]; then
    check "$(awk -F';' '$2 + 0 >= 0' "$dir/records" | wc -l) == 0" "the log shows no values: none arrived"
    check "$program_share < 0.5" "under 0.5 % of one core"
  else
    local in_range distinct
    in_range=$(awk -F';' -v lo="$lowest_u_in" -v hi="$highest_u_in" '$2 + 0 >= lo && $2 + 0 <= hi' "$dir/records" | wc -l)
    distinct=$(cut -d';' -f2 "$dir/records" | sort -u | wc -l)
    check "$records > 0 && $in_range == $records && 2 * $distinct >= $records" \
      "the log shows the simulator's values, changing (U_in from $lowest_u_in to $highest_u_in V; $distinct different)"
    check "$program_share < 2" "under 2 % of one core"
  fi
  check "$peak_kb < 80 * 1024" "peak resident memory under 80 MB"
  check "$last_kb <= $first_kb + 512" "no growth between the first and the last ${window} s"
}

for page in "${pages[@]}"; do report_page "$page"; done
exit "$failed"
