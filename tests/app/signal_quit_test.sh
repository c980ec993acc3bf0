#!/usr/bin/env bash
# quelt-panel connected to a simulated box and ended by SIGTERM: it quits through its normal
# path (exit 143, its "panel ended" trace line) and gives the port back, so that a user who is
# not root can open it again (checked as `nobody` when this runs as root).
#   usage: signal_quit_test.sh QUELT_PANEL QUELT_BOXSIM
set -uo pipefail
panel=$1
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
for tool in xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done
# shellcheck disable=SC2034 # read by scenario_lib.sh
SCEN_BOXSIM=$2
# shellcheck disable=SC2034

SCEN_MODE=signal
SCEN_SCRATCH=$(mktemp -d)
# shellcheck source=../../scripts/gui/scenario_lib.sh
source "$(dirname "$0")/../../scripts/gui/scenario_lib.sh"
trap 'scen_cleanup; rm -rf "$SCEN_SCRATCH"' EXIT
export XDG_RUNTIME_DIR=$SCEN_SCRATCH QUELT_PORT_DIR=$SCEN_SCRATCH/ports QUELT_TRACE=1
unset WAYLAND_DISPLAY

scen_start_boxes "$QUELT_PORT_DIR" "$SCEN_SCRATCH/requests.jsonl" 4:12:1 || exit 1
scen_start_panel "" "$panel" || { echo "the panel did not come up: skipped"; exit 77; }
scen_click 86 71  # Serial COM on
scen_expect 10 4:status 4:status || exit 1

kill -TERM "$SCEN_PANEL_PID"
code=0
timeout 10 tail --pid="$SCEN_PANEL_PID" -f /dev/null || { echo "no end within 10 s" >&2; exit 1; }
wait "$SCEN_PANEL_PID" || code=$?
SCEN_PANEL_PID=""
out=$(cat "$SCEN_SCRATCH/panel-signal.out")
fail=0
[ "$code" -eq 143 ] || { echo "ended with $code, not 143: $out" >&2; fail=1; }
grep -qx "CPanorilApp - panel ended: 143" <<<"$out" || { echo "no end trace: $out" >&2; fail=1; }

if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  tty=$(readlink -f "$QUELT_PORT_DIR/COM4")
  chmod 0666 "$tty"
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    /usr/bin/python3 -c "import os,sys; os.close(os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK))" \
    "$tty" || { echo "the port does not open as nobody after the panel ended" >&2; fail=1; }
else
  echo "not root: the port's reopening by another user is not checked"
fi
[ "$fail" -eq 0 ] && echo "SIGTERM: the panel quit with 143 and gave its port back"
exit "$fail"
