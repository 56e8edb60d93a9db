# Sourced by the scripts that measure the real program (bench/OnePortProgram.cpp) under Xvfb
# against bus_simulator. Builds both into build-bench/, makes a work folder that is removed
# with every process given to `track` when the script exits, and starts Xvfb.
# Gives: $work, $xvfb, track PID, wait_for_line FILE, start_bus OPTIONS..., bus_port,
# "${program_on_port[@]}", cpu_ticks PID, share TICKS STARTED ENDED.

scripts/install-deps.sh bench
cmake --preset bench > /dev/null
cmake --build --preset bench --target hydromon_on_port bus_simulator > /dev/null

work="$(mktemp -d)"
pids=()
track() { pids+=("$1"); }
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

wait_for_line() {  # FILE: until it holds a whole line, at most 10 s
  for _ in $(seq 100); do
    if [ -s "$1" ] && [ "$(wc -l < "$1")" -ge 1 ]; then return 0; fi
    sleep 0.1
  done
  echo "nothing came in $1" >&2
  exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
xvfb=$!
track "$xvfb"
wait_for_line "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

start_bus() {  # SIMULATOR OPTIONS...: sets $simulator; its port's path lands in $work/port
  rm -f "$work/port"
  build-bench/tests/tools/bus_simulator "$@" > "$work/port" 2>> "$work/simulator.log" &
  simulator=$!
  track "$simulator"
  wait_for_line "$work/port"
}

# The program with a temporary home (its log goes there); then the port's path and its arguments.
mkdir -p "$work/home"
program_on_port=(env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb
  build-bench/bench/hydromon_on_port)
bus_port() { head -n 1 "$work/port"; }

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# TICKS STARTED ENDED: the share of one core, in %, of CPU ticks between two `date +%s.%N`.
share() {
  awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v a="$2" -v b="$3" 'BEGIN { printf "%.2f", 100 * t / hz / (b - a) }'
}
