#!/usr/bin/env bash
# The main job: builds the tools, starts three simulated boxes (COM3, COM5, COM12) on
# pseudo-terminals and drives them with quelt-cli exactly as the panel would: discovery, status,
# Apply of a change, status again, test pattern on and off. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

echo "=== build (preset default)"
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-boxsim quelt-cli

bin="$root/build/default/tools"
boxsim="$bin/boxsim/pty/quelt-boxsim"
cli="$bin/cli/quelt-cli"

demo="$root/build/default/demo"
mkdir -p "$demo"
ports=$(mktemp -d /tmp/quelt-demo-ports.XXXXXX)
log="$demo/boxsim-requests.jsonl"
sim_out="$demo/boxsim.out"

sim_pid=""
stop_simulator() {
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
    kill -TERM "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
  fi
  sim_pid=""
  rm -rf "$ports"
}
trap stop_simulator EXIT

echo "=== start quelt-boxsim: boxes on COM3 (FW 12, ID 1), COM5 (FW 12, ID 2), COM12 (FW 10, ID 3)"
"$boxsim" --port-dir "$ports" --box 3:12:1 --box 5:12:2 --box 12:10:3 --log "$log" \
  >"$sim_out" 2>&1 &
sim_pid=$!
for _ in $(seq 1 100); do
  grep -qx ready "$sim_out" 2>/dev/null && break
  kill -0 "$sim_pid" 2>/dev/null || { cat "$sim_out"; echo "run-demo: simulator failed"; exit 1; }
  sleep 0.05
done
grep -qx ready "$sim_out" || { echo "run-demo: simulator not ready"; exit 1; }
ls -l "$ports"

export QUELT_PORT_DIR="$ports"
run() {
  echo
  echo "\$ quelt-cli $*"
  "$cli" "$@"
}

run discover
run discover --json
run status
run status --box 2 --json
run apply --box 1 --mode 2x2 --res1 5 --sync off --hlimit 100 --hbezel 20
run status --box 1
run pattern on --box 2
run pattern off --box 2

echo
echo "=== a refused value (index 9 is not in the 120 Hz list): exit status 2, nothing sent"
set +e
"$cli" apply --rate 120 --res1 9
echo "exit status $?"
set -e

stop_simulator
trap - EXIT
echo
echo "=== done. Every request the simulated boxes received, one JSON line each:"
echo "    $log ($(wc -l <"$log") requests)"

# ---------------------------------------------------------------------------------------------
# The panel itself against three simulated boxes, on the current display or, without one, on a
# private Xvfb; then the Windows build of the panel under wine, when it can be built. Screenshots
# of each step go to folders printed at the end.
echo
echo "=== the panel: build quelt-panel"
cmake --build --preset default -j2 --target quelt-panel quelt-boxsim
panel="$root/build/default/src/app/quelt-panel"

# shellcheck source=xvfb.sh
source scripts/xvfb.sh
panel_pid=""
stop_panel_demo() {
  if [ -n "$panel_pid" ] && kill -0 "$panel_pid" 2>/dev/null; then
    kill "$panel_pid"
    wait "$panel_pid" 2>/dev/null || true
  fi
  panel_pid=""
  stop_simulator
  if [ "$(type -t quelt_wine_cleanup)" = function ]; then
    quelt_wine_cleanup
  fi
  quelt_xvfb_stop
}
trap stop_panel_demo EXIT
if [ -z "${DISPLAY:-}" ]; then
  quelt_xvfb_start
  echo "=== no DISPLAY: private Xvfb on $DISPLAY"
fi

# demo_panel NAME PORT-DIR RUNNER PROGRAM: boxes on COM3, COM5, COM12 of PORT-DIR, the panel
# started with RUNNER ("" or wine), screenshots into $demo/NAME.
demo_panel() {
  local name=$1 port_dir=$2 runner=$3 program=$4
  shots="$demo/$name"
  rm -rf "$shots"
  mkdir -p "$shots"
  ports="$port_dir"
  local requests="$demo/$name-requests.jsonl" sim_log="$demo/$name-boxsim.out"
  rm -f "$requests"
  "$boxsim" --port-dir "$port_dir" --box 3:12:1 --box 5:12:2 --box 12:10:3 --log "$requests" \
    >"$sim_log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 1 100); do
    grep -qx ready "$sim_log" 2>/dev/null && break
    sleep 0.05
  done
  grep -qx ready "$sim_log" || { cat "$sim_log"; echo "run-demo: simulator not ready"; exit 1; }

  shot() {
    import -window root "$shots/$1.png"
    echo "    $shots/$1.png"
  }
  # Client point (x, y) of the panel, which sits at (236, 185).
  click() {
    xdotool mousemove $((236 + $1)) $((185 + $2)) click 1
    sleep "${3:-1}"
  }

  echo "=== start $(basename "$program") ${runner:+under $runner }(boxes in $port_dir)"
  QUELT_PORT_DIR="$port_dir" $runner "$program" &
  panel_pid=$!
  sleep 1.5
  shot 1-splash
  sleep 3
  shot 2-panel-disconnected
  echo "=== Serial COM on: discovery finds the three boxes"
  click 86 71 5
  shot 3-connected
  echo "=== box 2 chosen in the device list"
  click 56 271 2
  shot 4-box-2
  echo "=== keyboard shortcut 2: test pattern on the second box, then Esc: every pattern off"
  xdotool key 2
  sleep 2
  shot 5-pattern-key
  xdotool key Escape
  sleep 2
  echo "    PatternOn commands the boxes received: $(grep -c '"name":"PatternOn"' "$requests" || true)"
  echo "=== Exit"
  click 1093 15 2
  if kill -0 "$panel_pid" 2>/dev/null; then
    echo "run-demo: the panel did not end on Exit"
  else
    wait "$panel_pid" && echo "    the panel ended with exit code 0"
    panel_pid=""
  fi
  stop_simulator
  echo "=== $name screenshots: $shots"
}

demo_panel panel-screenshots "$(mktemp -d /tmp/quelt-demo-ports.XXXXXX)" "" "$panel"
native_shots="$shots"

wine_shots=""
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
  echo
  echo "=== the Windows panel: build quelt-panel.exe (preset mingw)"
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j2 --target quelt-panel
  # shellcheck source=wine/prefix.sh
  source scripts/wine/prefix.sh
  quelt_wine_setup
  trap stop_panel_demo EXIT
  demo_panel panel-screenshots-wine "$QUELT_WINE_PORT_DIR" wine \
    "$root/build/mingw/src/app/quelt-panel.exe"
  wine_shots="$shots"
fi

stop_panel_demo
trap - EXIT
echo
echo "=== panel screenshots: $native_shots"
[ -n "$wine_shots" ] && echo "=== panel screenshots under wine: $wine_shots"
exit 0
