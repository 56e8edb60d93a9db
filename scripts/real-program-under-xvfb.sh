# Sourced by the scripts that measure the real program (bench/OnePortProgram.cpp) under Xvfb
# against bus_simulator. Builds both into build-bench/ and makes a work folder that is removed,
# with every process given to `track`, when the script exits. Each measured program gets a
# folder of its own in it, with its own display, bus and home (its log goes there).
# Gives: $work, track PID, wait_for_line FILE, start_display DIR, start_bus DIR OPTIONS...,
# bus_port DIR, program_on_port DIR (sets the array program_on_port), cpu_ticks PID, status_kb
# PID KEY, share TICKS STARTED ENDED, check CONDITION TEXT (sets $failed to 1 when CONDITION,
# an awk expression, does not hold). The start_ functions leave the process's id in $launched;
# the programs are ended before the displays.

scripts/install-deps.sh bench
cmake --preset bench > /dev/null
cmake --build --preset bench --target hydromon_on_port bus_simulator > /dev/null

work="$(mktemp -d)"
pids=()
displays=()
track() { pids+=("$1"); }
cleanup() {
  # The programs go before their displays: a program whose display vanishes ends badly.
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  wait "${pids[@]}" 2> /dev/null || true
  for pid in "${displays[@]}"; do kill "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
check() {  # CONDITION TEXT
  if awk "BEGIN { exit !($1) }"; then echo "ok:     $2"; else echo "MISSED: $2"; failed=1; fi
}

wait_for_line() {  # FILE: until it holds a whole line, at most 10 s
  for _ in $(seq 100); do
    if [ -s "$1" ] && [ "$(wc -l < "$1")" -ge 1 ]; then return 0; fi
    sleep 0.1
  done
  echo "nothing came in $1" >&2
  exit 1
}

start_display() {  # DIR: an Xvfb of its own; its number lands in DIR/display
  mkdir -p "$1"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$1/display" 2> "$1/xvfb.log" &
  launched=$!
  displays+=("$launched")
  wait_for_line "$1/display"
}

start_bus() {  # DIR SIMULATOR OPTIONS...: its port's path lands in DIR/port
  local dir="$1"
  shift
  rm -f "$dir/port"
  build-bench/tests/tools/bus_simulator "$@" > "$dir/port" 2>> "$dir/simulator.log" &
  launched=$!
  track "$launched"
  wait_for_line "$dir/port"
}
bus_port() { head -n 1 "$1/port"; }

program_on_port() {  # DIR: the program on DIR's display with DIR/home; then the port and its arguments
  mkdir -p "$1/home"
  program_on_port=(env DISPLAY=":$(head -n 1 "$1/display")" HOME="$1/home" XDG_CONFIG_HOME="$1/home/.config"
    QT_QPA_PLATFORM=xcb build-bench/bench/hydromon_on_port)
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
# TICKS STARTED ENDED: the share of one core, in %, of CPU ticks between two `date +%s.%N`.
share() {
  awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v a="$2" -v b="$3" 'BEGIN { printf "%.2f", 100 * t / hz / (b - a) }'
}
