#!/usr/bin/env bash
# The Linux panel in a Wayland session, under Weston with XWayland, started with only the
# session's variables (WAYLAND_DISPLAY and XWayland's DISPLAY; no GDK_BACKEND):
#  - headless Weston: the 1127 x 679 panel is shown through XWayland, no GTK critical; started
#    with WAYLAND_DISPLAY only, it exits 1 with one line naming XWayland.
#  - Weston with its X11 backend on a private Xvfb (headless Weston 10 has no seat, and XWayland
#    crashes on synthetic input without one, so the pointer comes through Weston's window): the
#    panel shows, Serial COM on finds two simulated boxes, Exit ends it with 0, no GTK critical.
#    Weston's window leaves a strip of the Xvfb free: Weston follows the pointer only after it
#    has entered the window, so the pointer waits in that strip while Weston starts.
# Fails (never skips) when Weston or XWayland is missing or cannot start.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-panel quelt-boxsim
native="$root/build/default/src/app/quelt-panel"
# shellcheck disable=SC2034 # read by scenario_lib.sh
SCEN_BOXSIM="$root/build/default/tools/boxsim/pty/quelt-boxsim"
SCEN_SHOTS="$root/build/screenshots"
# shellcheck disable=SC2034 # read by scenario_lib.sh
SCEN_MODE=wayland
mkdir -p "$SCEN_SHOTS"

for program in weston Xwayland xdotool xwininfo; do
  if ! command -v "$program" >/dev/null; then
    echo "wayland: FAIL: $program is missing (scripts/install-deps.sh installs it)"
    exit 1
  fi
done

# shellcheck source=../gui/scenario_lib.sh
source scripts/gui/scenario_lib.sh
SCEN_SCRATCH=$(mktemp -d /tmp/quelt-wayland.XXXXXX)
weston_pid=""
stop_weston() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
    weston_pid=""
  fi
}
cleanup() {
  scen_cleanup
  stop_weston
  quelt_xvfb_stop
  rm -rf "$SCEN_SCRATCH"
}
trap cleanup EXIT

status=0
fail() { echo "wayland: FAIL ($phase): $*"; status=1; }

# start_weston NAME BACKEND HEIGHT [OPTION...]: Weston with XWayland on socket NAME, its output
# 1600 x HEIGHT, in a private runtime folder;
# sets `runtime`, `socket` and `xdisplay` (XWayland's DISPLAY, started on the first X client).
start_weston() {
  runtime="$SCEN_SCRATCH/runtime-$1"
  socket="quelt-$1-$$"
  mkdir -p "$runtime"
  chmod 700 "$runtime"
  local log="$runtime/weston.log"
  XDG_RUNTIME_DIR="$runtime" weston --backend="$2" --xwayland --socket="$socket" \
    --width=1600 --height="$3" --idle-time=0 --log="$log" "${@:4}" >"$runtime/weston.out" 2>&1 &
  weston_pid=$!
  xdisplay=""
  for _ in $(seq 100); do
    xdisplay=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" 2>/dev/null)
    [ -n "$xdisplay" ] && [ -S "$runtime/$socket" ] && return 0
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "wayland: weston ($2) did not start:"
  cat "$log" "$runtime/weston.out" 2>/dev/null | tail -20
  return 1
}

# The panel with the session's variables only (plus the port folder and the runtime folder).
# session_panel DISPLAY-VALUE OUT: DISPLAY-VALUE "" leaves DISPLAY unset.
session_panel() {
  local vars=(XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QUELT_PORT_DIR="$port_dir")
  [ -z "$1" ] || vars+=(DISPLAY="$1")
  # No session bus either: the desktop portal is missing, so the keys come through XWayland.
  env -u DISPLAY -u GDK_BACKEND -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS "${vars[@]}" \
    "$native" >"$2" 2>&1
}

# Waits up to 20 s for the viewable 1127 x 679 panel on XWayland; sets `panel_x`, `panel_y`
# (its place on XWayland's root).
find_panel() {
  local id
  for _ in $(seq 200); do
    id=$(DISPLAY="$xdisplay" xwininfo -root -tree 2>/dev/null |
      awk '/"Quelt Control Center".* 1127x679\+/ { print $1 }' | head -1)
    if [ -n "$id" ] &&
      DISPLAY="$xdisplay" xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
      panel_x=$(DISPLAY="$xdisplay" xwininfo -id "$id" | awk '/Absolute upper-left X:/ { print $4 }')
      panel_y=$(DISPLAY="$xdisplay" xwininfo -id "$id" | awk '/Absolute upper-left Y:/ { print $4 }')
      return 0
    fi
    kill -0 "$SCEN_PANEL_PID" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}

# No GTK critical (or any GTK/GDK warning) on the panel's stderr.
check_quiet() {
  if grep -E "(Gdk|Gtk|GLib)-(CRITICAL|WARNING)" "$1"; then
    fail "GTK complained"
  fi
  grep -q "only while one of its windows has the focus" "$1" ||
    fail "no word on the shortcuts in a Wayland session"
}

# The Xvfb for the second half starts first, so that no XWayland takes its display number.
quelt_xvfb_start --fresh
host_display=$DISPLAY
unset DISPLAY

port_dir="$SCEN_SCRATCH/ports"
mkdir -p "$port_dir"

# --- Headless Weston ---------------------------------------------------------------------------
phase=headless
if start_weston headless headless-backend.so 1050; then
  out="$SCEN_SCRATCH/headless-no-x.out"
  code=0
  session_panel "" "$out" || code=$?
  lines=$(wc -l <"$out")
  if [ "$code" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q XWayland "$out"; then
    fail "WAYLAND_DISPLAY only: exit code $code, output:"
    cat "$out"
  else
    echo "wayland: WAYLAND_DISPLAY only: exit 1, \"$(cat "$out")\""
  fi

  out="$SCEN_SCRATCH/headless.out"
  session_panel "$xdisplay" "$out" &
  SCEN_PANEL_PID=$!
  if find_panel; then
    echo "wayland: headless: the panel is on XWayland $xdisplay at ($panel_x, $panel_y)"
    sleep 1
    kill -0 "$SCEN_PANEL_PID" 2>/dev/null || fail "the panel ended"
  else
    fail "no 1127 x 679 panel on XWayland $xdisplay"
  fi
  scen_stop_pid "$SCEN_PANEL_PID"
  SCEN_PANEL_PID=""
  check_quiet "$out"
  stop_weston
else
  fail "headless Weston with XWayland did not start"
fi

# --- Weston on Xvfb: pointer input ------------------------------------------------------------
phase=nested
DISPLAY="$host_display" xdotool mousemove 800 1040
if DISPLAY="$host_display" start_weston nested x11-backend.so 1000 --use-pixman; then
  # The pointer goes to Weston's output window on the Xvfb; find where that window is.
  # Weston gives XWayland the pointer on motion; the press waits until it has arrived.
  click() {
    local x=$((out_x + panel_x + $1)) y=$((out_y + panel_y + $2))
    DISPLAY="$host_display" xdotool mousemove $((x + 5)) $((y + 5)) sleep 0.3 \
      mousemove "$x" "$y" sleep 0.3 click 1
  }
  scen_start_boxes "$port_dir" "$SCEN_SCRATCH/nested.jsonl" 3:12:1 5:12:2 || fail "no boxes"
  out="$SCEN_SCRATCH/nested.out"
  session_panel "$xdisplay" "$out" &
  SCEN_PANEL_PID=$!
  if find_panel; then
    out_id=$(DISPLAY="$host_display" xwininfo -root -tree | awk '/ 1600x1000\+/ { print $1; exit }')
    out_x=0
    out_y=0
    if [ -n "$out_id" ]; then
      out_x=$(DISPLAY="$host_display" xwininfo -id "$out_id" | awk '/Absolute upper-left X:/ { print $4 }')
      out_y=$(DISPLAY="$host_display" xwininfo -id "$out_id" | awk '/Absolute upper-left Y:/ { print $4 }')
    fi
    echo "wayland: nested: the panel at ($panel_x, $panel_y), Weston's output at ($out_x, $out_y)"
    sleep 1
    click 86 71
    if scen_expect 10 3:status 5:status 3:status; then
      echo "wayland: nested: Serial COM on found the boxes on COM3 and COM5"
    else
      fail "Serial COM on did not reach the boxes"
    fi
    sleep 1.5
    DISPLAY="$host_display" import -window root "$SCEN_SHOTS/wayland-connected.png" || true
    click 1093 15
    for _ in $(seq 50); do
      kill -0 "$SCEN_PANEL_PID" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$SCEN_PANEL_PID" 2>/dev/null; then
      fail "the panel did not end on Exit"
    else
      code=0
      wait "$SCEN_PANEL_PID" || code=$?
      SCEN_PANEL_PID=""
      if [ "$code" -eq 0 ]; then
        echo "wayland: nested: Exit ended the panel with 0"
      else
        fail "the panel ended with $code"
      fi
    fi
  else
    fail "no 1127 x 679 panel on XWayland $xdisplay"
  fi
  check_quiet "$out"
  scen_end_boxes || fail "unexpected requests"
else
  fail "Weston (X11 backend) with XWayland did not start"
fi

[ "$status" -eq 0 ] && echo "wayland: passed"
exit "$status"
