# shellcheck shell=bash disable=SC2034 # SCEN_PANEL_WINDOW is read by the scenarios
# Helpers for the panel's acceptance scenarios (source it). The panel's face sits at (236, 185)
# on the screen; points are given in its client pixels. Every process started here is recorded
# and ended by scen_cleanup, which the caller's EXIT trap must run.
#   scen_begin NAME [--fresh]              a scratch folder $SCEN_SCRATCH (/tmp/NAME.XXXXXX) and
#                                          an Xvfb; the EXIT trap scen_end ends every process
#                                          started here (wine's too), the Xvfb, and the folder
#   scen_start_boxes PORT-DIR LOG BOX...   quelt-boxsim with boxes COM:FW:ID, waits for "ready"
#   scen_start_panel RUNNER PROGRAM        RUNNER "" (QUELT_PORT_DIR must be set) or "wine";
#                                          waits for the face to be on screen (SCEN_PANEL_WINDOW)
#   scen_click X Y / scen_drag Y X1 X2 X3  pointer input at client points
#   scen_expect TIMEOUT REQUEST...         the next requests the boxes receive (scenario_log.py)
#   scen_shot NAME [KIND [ARG]]            screenshot $SCEN_SHOTS/scenario-$SCEN_MODE-NAME.png,
#                                          optionally checked at once (scenario_shot.py)
#   scen_look NAME KIND [ARG]              retakes that screenshot until the check passes (5 s)
#   scen_exit_panel                        Exit button; the program must end with 0
#   scen_end_boxes                         stops the simulator; no request may be left unchecked

SCEN_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../xvfb.sh
source "$SCEN_DIR/../xvfb.sh"
SCEN_SIM_PID=""
SCEN_PANEL_PID=""
SCEN_OTHER_PIDS=()
SCEN_LOG=""
SCEN_SEEN=0
SCEN_PANEL_WINDOW=""

scen_say() { echo "scenarios ($SCEN_MODE): $*"; }

scen_stop_pid() {
  local pid=$1
  [ -n "$pid" ] || return 0
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
}

scen_cleanup() {
  local pid
  scen_stop_pid "$SCEN_PANEL_PID"
  SCEN_PANEL_PID=""
  scen_stop_pid "$SCEN_SIM_PID"
  SCEN_SIM_PID=""
  for pid in "${SCEN_OTHER_PIDS[@]}"; do
    scen_stop_pid "$pid"
  done
  SCEN_OTHER_PIDS=()
}

scen_begin() {
  SCEN_SCRATCH=$(mktemp -d "/tmp/$1.XXXXXX")
  trap scen_end EXIT
  quelt_xvfb_start "${@:2}"
}

scen_end() {
  scen_cleanup
  [ "$(type -t quelt_wine_cleanup)" = function ] && quelt_wine_cleanup
  quelt_xvfb_stop
  rm -rf "$SCEN_SCRATCH"
}

scen_track_pid() { SCEN_OTHER_PIDS+=("$1"); }

scen_start_boxes() {
  local port_dir=$1 log=$2 box
  shift 2
  local args=(--port-dir "$port_dir" --log "$log")
  for box in "$@"; do
    args+=(--box "$box")
  done
  SCEN_LOG=$log
  SCEN_SEEN=0
  rm -f "$log" "$log.out"
  "$SCEN_BOXSIM" "${args[@]}" >"$log.out" 2>&1 &
  SCEN_SIM_PID=$!
  for _ in $(seq 100); do
    grep -qx ready "$log.out" 2>/dev/null && return 0
    kill -0 "$SCEN_SIM_PID" 2>/dev/null || break
    sleep 0.05
  done
  cat "$log.out"
  scen_say "the simulator did not start"
  return 1
}

scen_end_boxes() {
  # Nothing may have reached the boxes beyond what the scenario checked.
  local total
  total=$(wc -l <"$SCEN_LOG")
  scen_stop_pid "$SCEN_SIM_PID"
  SCEN_SIM_PID=""
  if [ "$total" -ne "$SCEN_SEEN" ]; then
    scen_say "unexpected requests at the end:"
    tail -n +"$((SCEN_SEEN + 1))" "$SCEN_LOG"
    return 1
  fi
}

scen_start_panel() {
  local runner=$1 program=$2 id state
  $runner "$program" >"$SCEN_SCRATCH/panel-$SCEN_MODE.out" 2>&1 &
  SCEN_PANEL_PID=$!
  SCEN_PANEL_WINDOW=""
  for _ in $(seq 200); do
    id=$(xwininfo -root -tree 2>/dev/null | awk '/ 1127x679\+236\+185 / { print $1 }' | head -1)
    if [ -n "$id" ]; then
      state=$(xwininfo -id "$id" 2>/dev/null | awk '/Map State:/ { print $3 }')
      if [ "$state" = IsViewable ]; then
        SCEN_PANEL_WINDOW=$id
        return 0
      fi
    fi
    kill -0 "$SCEN_PANEL_PID" 2>/dev/null || break
    sleep 0.1
  done
  scen_say "no 1127 x 679 panel at (236, 185) within 20 s"
  return 1
}

scen_exit_panel() {
  scen_click 1093 15
  for _ in $(seq 50); do
    kill -0 "$SCEN_PANEL_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$SCEN_PANEL_PID" 2>/dev/null; then
    scen_say "the panel did not end on Exit"
    return 1
  fi
  local code=0
  wait "$SCEN_PANEL_PID" || code=$?
  SCEN_PANEL_PID=""
  [ "$code" -eq 0 ] || { scen_say "the panel ended with $code"; return 1; }
}

scen_click() { xdotool mousemove $((236 + $1)) $((185 + $2)) click 1; }

# Press on a horizontal slider at (X1, Y), drag through X2, release at X3.
scen_drag() {
  local y=$((185 + $1))
  xdotool mousemove $((236 + $2)) "$y" mousedown 1 mousemove $((236 + $3)) "$y" sleep 0.1 \
    mousemove $((236 + $4)) "$y" sleep 0.1 mouseup 1
}

scen_expect() {
  local timeout=$1
  shift
  if /usr/bin/python3 "$SCEN_DIR/scenario_log.py" "$SCEN_LOG" "$SCEN_SEEN" "$timeout" "$@"; then
    SCEN_SEEN=$((SCEN_SEEN + $#))
    return 0
  fi
  return 1
}

scen_shot_path() { echo "$SCEN_SHOTS/scenario-$SCEN_MODE-$1.png"; }

scen_shot() {
  local path
  path=$(scen_shot_path "$1")
  import -window root "$path"
  [ $# -lt 2 ] || /usr/bin/python3 "$SCEN_DIR/scenario_shot.py" "$path" "${@:2}"
}

scen_look() {
  /usr/bin/python3 "$SCEN_DIR/scenario_shot.py" --wait 5 "$(scen_shot_path "$1")" "${@:2}"
}
