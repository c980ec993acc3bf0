#!/usr/bin/env bash
# The panel driven end to end with the pointer and the keyboard against simulated boxes, natively
# and (when the Windows build can be made) quelt-panel.exe under wine:
#  - apply: three boxes on COM3, COM5, COM12; Serial COM on lists them with their texts after one
#    status request each; Stretch 2 x 2, Clock Sync OFF, ID 4 and a dragged H bezel, then Apply:
#    the box receives ApplySettings, SetBoxId and FinishApply carrying exactly those choices,
#    then a status request, while the busy shadow darkens the panel. Choosing the second box
#    reads its status, Esc ends every pattern and reads it again, SW Reset resets that box.
#    Natively also Device Setting Sync: Apply writes Clone to every box.
#  - keys (native): two boxes; keys do nothing before Serial COM is on; then, while another X
#    client (xev) holds the focus: key 2 puts the pattern on the second box and reads the
#    selected box's status, key 3 sends nothing, Esc ends the patterns on both boxes, F12 runs a
#    hardware reset under the busy shadow, and xev still receives every key. With the Pattern
#    switch on, the panel is disabled but for that switch and ignores the keys and Exit. Serial
#    COM off: keys inert; on again: they act again.
#  - keys (wine): the shortcut hook only sees keys while a wine window has the X focus, so the
#    panel itself is focused: key 2, key 4 (no fourth box: nothing), Esc, F12, then the Pattern
#    switch, the reconnection, the choice of box 2 and SW Reset as natively.
# Each step waits for its requests in the simulator's log or for its look on the screen, with a
# time limit. Screenshots: build/screenshots/scenario-{native,wine}-*.png.
# QUELT_SCENARIOS_WINE=0 skips the wine half.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-panel quelt-boxsim
native="$root/build/default/src/app/quelt-panel"
# shellcheck disable=SC2034 # read by scenario_lib.sh
SCEN_BOXSIM="$root/build/default/tools/boxsim/pty/quelt-boxsim"
SCEN_SHOTS="$root/build/screenshots"
mkdir -p "$SCEN_SHOTS"
rm -f "$SCEN_SHOTS"/scenario-*.png

# shellcheck source=../gui/scenario_lib.sh
source scripts/gui/scenario_lib.sh
scen_begin quelt-scenarios
if [ -z "${DISPLAY:-}" ]; then
  echo "scenarios: no X display: skipped"
  exit 0
fi
# The single-instance guard of the Linux build keeps its lock in the runtime folder.
export XDG_RUNTIME_DIR="$SCEN_SCRATCH"

status=0
SCEN_MODE=native

# The settings every command of the Apply carries: Clock Sync OFF, Stretch 2 x 2, 60 Hz, H limit
# 50 and V limit 15 as the box reported them, an H bezel moved off 0 within the limit, the end
# mark of the last status reply.
applied='f[4] & 0x1f == 2 and f[4] & 0xe0 == 0x80 and f[5] & 0x80 == 0
  and f[11] == 50 and f[12] == 15 and 0 < f[13] <= 50 and f[15] == 0xaa'
applied=${applied//$'\n'/}

# scenario_apply RUNNER PROGRAM PORT-DIR [keep]: with `keep`, the panel is left running.
scenario_apply() {
  local runner=$1 program=$2 port_dir=$3
  scen_start_boxes "$port_dir" "$SCEN_SCRATCH/$SCEN_MODE-apply.jsonl" 3:12:1 5:12:2 12:10:3 ||
    return 1
  scen_start_panel "$runner" "$program" || return 1

  scen_say "Serial COM on"
  scen_click 86 71
  scen_expect 10 3:status 5:status 12:status 3:status || return 1
  scen_look connected connected 3 || return 1

  scen_say "Stretch 2 x 2, Clock Sync OFF, ID 4, H bezel dragged, Apply"
  scen_click 180 198
  scen_click 303 198
  scen_click 686 222
  # The H bezel slider is only usable once the handlers have run.
  scen_look chosen chosen || return 1
  scen_drag 623 560 660 761
  scen_click 1040 71
  scen_expect 10 "3:ApplySettings:f[3] == 1 and $applied" || return 1
  # Each command of the Apply waits 1000 ms before its reply: the shadow is up now.
  scen_look busy busy "$(scen_shot_path connected)" || return 1
  scen_expect 10 "3:SetBoxId:f[3] == 4 and $applied" "3:FinishApply:f[3] == 4 and $applied" \
    3:status || return 1
  scen_look applied applied || return 1
  [ $# -gt 3 ] && return 0
  scenario_select_and_reset || return 1
  scenario_sync_apply || return 1
  scen_exit_panel || return 1
  scen_end_boxes
}

# With three boxes (COM3 now ID 4, COM5, COM12): choosing the second box reads its status; Esc
# then reads that box's status after the patterns; SW Reset resets it.
scenario_select_and_reset() {
  scen_say "box 2 chosen, Esc, SW Reset"
  scen_click 56 271
  scen_expect 5 5:status || return 1
  xdotool key Escape
  scen_expect 5 "3:PatternOff:f[3] == 4" "5:PatternOff:f[3] == 2" "12:PatternOff:f[3] == 3" \
    5:status || return 1
  scen_click 722 71
  scen_expect 5 "5:SoftwareReset:f[3] == 2" || return 1
  scen_expect 5 5:status || return 1
  # The second box still holds the settings it started with.
  scen_look box-2 connected 3,1
}

# scenario_pattern_switch ID LOOK...: the Pattern switch on the current box (COM3, with that
# ID): while the pattern shows, everything but that switch is disabled, the shortcuts and Exit
# do nothing; switching it off brings back the connected panel with LOOK (scenario_shot.py).
scenario_pattern_switch() {
  scen_say "Pattern switch on; keys and Exit do nothing; Pattern switch off"
  scen_click 245 71
  scen_expect 5 "3:PatternOn:f[3] == $1" || return 1
  scen_look pattern pattern || return 1
  xdotool key 2 Escape
  scen_click 1093 15
  scen_click 245 71
  # Nothing from the keys, and the panel was still there for the second click.
  scen_expect 5 "3:PatternOff:f[3] == $1" || return 1
  scen_look pattern-off "${@:2}"
}

# Serial COM off and on again with boxes on the COM numbers given, the first one selected: the
# keys are inert while disconnected and act again once reconnected.
scenario_reconnect() {
  local com discovery=() all_off=()
  for com in "$@"; do
    discovery+=("$com:status")
    all_off+=("$com:PatternOff")
  done
  scen_say "Serial COM off, key 2, Serial COM on, keys 2 and Esc"
  scen_click 86 71
  scen_look disconnected disconnected || return 1
  xdotool key 2
  scen_click 86 71
  scen_expect 10 "${discovery[@]}" "$1:status" || return 1
  xdotool key 2
  scen_expect 5 "$2:PatternOn" "$1:status" || return 1
  xdotool key Escape
  scen_expect 5 "${all_off[@]}" "$1:status" || return 1
}

# Device Setting Sync with Clone chosen: Apply writes every box in table order, each with its
# own ID, and no SetBoxId.
scenario_sync_apply() {
  scen_say "Clone, Device Setting Sync, Apply to every box"
  scen_click 180 222
  scen_click 814 121
  scen_click 1040 71
  local clone='f[4] & 0xe0 == 0x20' com id writes=()
  for com in 3:4 5:2 12:3; do
    id=${com#*:}
    com=${com%:*}
    writes+=("$com:ApplySettings:f[3] == $id and $clone" "$com:FinishApply:f[3] == $id and $clone"
      "$com:status")
  done
  scen_expect 20 "${writes[@]}" || return 1
  scen_look sync-applied synced
}

# Keys while the panel's window has the X focus (wine), right after scenario_apply.
scenario_keys_focused() {
  xdotool windowfocus "$SCEN_PANEL_WINDOW"
  # An empty spot of the face, out of the caption drag zone.
  xdotool mousemove $((236 + 1110)) $((185 + 100))
  scen_say "keys 2, 4, Esc and F12 on the focused panel"
  xdotool key 2
  # The pattern command carries the settings that Apply stored.
  scen_expect 5 "5:PatternOn:f[3] == 2 and f[4] == 0x82" 3:status || return 1
  xdotool key 4 Escape
  scen_expect 5 3:PatternOff 5:PatternOff 12:PatternOff 3:status || return 1
  scen_shot keys applied || return 1
  xdotool key F12
  scen_expect 5 3:HardwareReset || return 1
  scen_look reset-busy busy "$(scen_shot_path keys)" || return 1
  scen_expect 5 3:status || return 1
  # The reset shows the box's settings, which are those Apply stored.
  scen_look after-reset applied || return 1
  scenario_pattern_switch 4 applied || return 1
  scenario_reconnect 3 5 12 || return 1
  scenario_select_and_reset || return 1
  scen_exit_panel || return 1
  scen_end_boxes
}

# Waits until xev has reported a key press of KEYSYM-NAME.
xev_saw() {
  for _ in $(seq 50); do
    grep -q "keysym 0x[0-9a-f]*, $1)" "$SCEN_SCRATCH/xev.out" && return 0
    sleep 0.1
  done
  scen_say "the focused client did not receive key $1"
  return 1
}

scenario_keys_native() {
  local ports="$SCEN_SCRATCH/ports-keys" other=""
  mkdir -p "$ports"
  scen_start_boxes "$ports" "$SCEN_SCRATCH/native-keys.jsonl" 3:12:1 5:12:2 || return 1
  xev -geometry 200x150+10+10 -event keyboard >"$SCEN_SCRATCH/xev.out" 2>&1 &
  scen_track_pid $!
  QUELT_PORT_DIR="$ports" scen_start_panel "" "$native" || return 1
  # Disconnected, the keys are inert: discovery's requests must come first.
  xdotool key 2 Escape
  scen_click 86 71
  scen_expect 10 3:status 5:status 3:status || return 1
  scen_look keys-connected connected 2 || return 1

  other=$(xdotool search --name '^Event Tester$' | head -1)
  [ -n "$other" ] || { scen_say "no xev window"; return 1; }
  xdotool windowfocus "$other"
  # The pointer rests on the panel: the keys go to the focused client all the same.
  xdotool mousemove $((236 + 1110)) $((185 + 100))
  [ "$(xdotool getwindowfocus)" = "$other" ] || { scen_say "xev has no focus"; return 1; }

  scen_say "keys 2, 3, Esc, F12 while xev has the focus"
  xdotool key 2
  scen_expect 5 "5:PatternOn:f[3] == 2" 3:status || return 1
  xev_saw 2 || return 1
  # Key 3 asks for a third box, which does not exist: Esc's commands must come next.
  xdotool key 3 Escape
  scen_expect 5 3:PatternOff 5:PatternOff 3:status || return 1
  xev_saw 3 && xev_saw Escape || return 1
  xdotool key F12
  scen_expect 5 3:HardwareReset || return 1
  scen_look reset-busy busy "$(scen_shot_path keys-connected)" || return 1
  scen_expect 5 3:status || return 1
  xev_saw F12 || return 1
  scen_look keys-after-reset connected 2 || return 1
  [ "$(xdotool getwindowfocus)" = "$other" ] || { scen_say "xev lost the focus"; return 1; }
  scenario_pattern_switch 1 connected 2 || return 1
  scenario_reconnect 3 5 || return 1
  scen_exit_panel || return 1
  scen_end_boxes
}

# run NAME FUNCTION ARGS...: one scenario, timed; a failure ends it and what it started.
run() {
  local name=$1 start took
  shift
  start=$(date +%s%N)
  if "$@"; then
    took=$((($(date +%s%N) - start) / 1000000))
    scen_say "$name passed in ${took} ms"
  else
    scen_say "FAIL: $name (panel output: $(tr '\n' ' ' <"$SCEN_SCRATCH/panel-$SCEN_MODE.out" 2>/dev/null))"
    status=1
  fi
  scen_cleanup
}

native_ports="$SCEN_SCRATCH/ports-apply"
mkdir -p "$native_ports"
QUELT_PORT_DIR="$native_ports" run apply scenario_apply "" "$native" "$native_ports"
run keys scenario_keys_native

if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null &&
  [ "${QUELT_SCENARIOS_WINE:-1}" != 0 ]; then
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j2 --target quelt-panel
  # shellcheck source=../wine/prefix.sh
  source scripts/wine/prefix.sh
  quelt_wine_setup
  trap scen_end EXIT
  SCEN_MODE=wine
  apply_then_keys() {
    scenario_apply wine "$root/build/mingw/src/app/quelt-panel.exe" \
      "$QUELT_WINE_PORT_DIR" keep && scenario_keys_focused
  }
  run "apply and keys" apply_then_keys
else
  echo "scenarios: no mingw-w64 or wine: the Windows panel is not driven"
fi

echo "scenarios: screenshots in $SCEN_SHOTS (scenario-*.png)"
exit "$status"
