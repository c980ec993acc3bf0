#!/usr/bin/env bash
# Panel CPU per slider move, end to end: the panel runs on a private Xvfb against simulated boxes,
# is connected, then the H bezel slider is dragged to and fro one pointer move at a time. The CPU
# the panel's process spends (utime + stime from /proc) during the drag, less what it spends idle
# for as long, divided by the moves, is the figure; the X server's share is printed beside it.
#   bench/panel/slider-move.sh [--wine] [--moves N] [--program PATH]
# Default program: build/default/src/app/quelt-panel, or build/mingw/src/app/quelt-panel.exe with
# --wine (run under the test prefix; the CPU is that of the wine process running the .exe).
# Builds nothing: build quelt-panel (and quelt-boxsim of the default preset) first.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

wine_mode=0
moves=400
program=""
while [ $# -gt 0 ]; do
  case $1 in
    --wine) wine_mode=1 ;;
    --moves) moves=$2; shift ;;
    --program) program=$2; shift ;;
    *) echo "usage: $0 [--wine] [--moves N] [--program PATH]" >&2; exit 2 ;;
  esac
  shift
done
if [ -z "$program" ]; then
  program="$root/build/default/src/app/quelt-panel"
  [ "$wine_mode" = 0 ] || program="$root/build/mingw/src/app/quelt-panel.exe"
fi

# shellcheck disable=SC2034 # read by scenario_lib.sh
SCEN_BOXSIM="$root/build/default/tools/boxsim/pty/quelt-boxsim"
# shellcheck disable=SC2034
SCEN_MODE=bench
# shellcheck source=../../scripts/gui/scenario_lib.sh
source scripts/gui/scenario_lib.sh
scen_begin quelt-slider-bench --fresh
export XDG_RUNTIME_DIR="$SCEN_SCRATCH"

if [ "$wine_mode" = 1 ]; then
  # shellcheck source=../../scripts/wine/prefix.sh
  source scripts/wine/prefix.sh
  quelt_wine_setup
  trap scen_end EXIT
  ports=$QUELT_WINE_PORT_DIR
  runner=wine
else
  ports="$SCEN_SCRATCH/ports"
  mkdir -p "$ports"
  export QUELT_PORT_DIR="$ports"
  runner=""
fi

scen_start_boxes "$ports" "$SCEN_SCRATCH/boxes.jsonl" 3:12:1 5:12:2 12:10:3
scen_start_panel "$runner" "$program"

# utime + stime in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
tick_ms=$(awk -v hz="$(getconf CLK_TCK)" 'BEGIN { print 1000 / hz }')

# The process that draws: the panel itself, or under wine the one running the .exe.
panel_pid=$SCEN_PANEL_PID
if [ "$wine_mode" = 1 ]; then
  panel_pid=""
  # The one with the most CPU so far: the loader's wrapper, if any, has next to none.
  most=-1
  for proc in /proc/[0-9]*; do
    if { tr '\0' ' ' <"$proc/cmdline"; } 2>/dev/null | grep -q 'quelt-panel\.exe'; then
      ticks=$(cpu_ticks "${proc#/proc/}" 2>/dev/null || echo -1)
      if [ "$ticks" -gt "$most" ]; then
        most=$ticks
        panel_pid=${proc#/proc/}
      fi
    fi
  done
  [ -n "$panel_pid" ] || { echo "slider bench: no wine process of the panel" >&2; exit 1; }
fi


scen_click 86 71  # Serial COM on
sleep 3           # discovery and the first status of every box
scen_click 180 198  # Stretch 2 x 2: the bezel sliders come alive
scen_click 303 198
sleep 0.5

# The drag: press on the H bezel slider, then `moves` single steps of 2 px across it and back.
steps=()
x=560
dx=2
for _ in $(seq "$moves"); do
  x=$((x + dx))
  if [ "$x" -ge 760 ] || [ "$x" -le 560 ]; then dx=$((-dx)); fi
  steps+=(mousemove $((236 + x)) $((185 + 623)) sleep 0.01)
done
xdotool mousemove $((236 + 560)) $((185 + 623)) mousedown 1
sleep 0.5

panel_before=$(cpu_ticks "$panel_pid")
x_before=$(cpu_ticks "$QUELT_XVFB_PID")
start=$(date +%s%N)
xdotool "${steps[@]}"
sleep 0.3  # the last moves drawn
took=$((($(date +%s%N) - start) / 1000000))
panel_drag=$(($(cpu_ticks "$panel_pid") - panel_before))
x_drag=$(($(cpu_ticks "$QUELT_XVFB_PID") - x_before))
xdotool mouseup 1
[ -z "${SLIDER_BENCH_SHOT:-}" ] || import -window root "$SLIDER_BENCH_SHOT"

# The same wall time without input: timers, status polling.
sleep 0.5
panel_before=$(cpu_ticks "$panel_pid")
x_before=$(cpu_ticks "$QUELT_XVFB_PID")
sleep "$(awk -v ms="$took" 'BEGIN { print ms / 1000 }')"
panel_idle=$(($(cpu_ticks "$panel_pid") - panel_before))
x_idle=$(($(cpu_ticks "$QUELT_XVFB_PID") - x_before))

awk -v moves="$moves" -v tick="$tick_ms" -v pd="$panel_drag" -v pi="$panel_idle" \
  -v xd="$x_drag" -v xi="$x_idle" -v took="$took" 'BEGIN {
  printf "{\"panelMsPerMove\": %.2f, \"xServerMsPerMove\": %.2f, \"moves\": %d, \"dragMs\": %d, \"panelIdleMs\": %.0f}\n",
    (pd - pi) * tick / moves, (xd - xi) * tick / moves, moves, took, pi * tick
}'
scen_exit_panel || true
