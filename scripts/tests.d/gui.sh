#!/usr/bin/env bash
# The native panel under a private Xvfb: the splash shows, then the 1127 x 679 panel at
# (236, 185) with its title, disconnected; a second copy ends at once; a click on Exit ends the
# panel with exit code 0. Screenshots go to build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-panel
panel="$root/build/default/src/app/shell/quelt-panel"
shots="$root/build/screenshots"
mkdir -p "$shots"

# shellcheck source=../gui/xvfb.sh
source scripts/gui/xvfb.sh
panel_pid=""
cleanup() {
  if [ -n "$panel_pid" ] && kill -0 "$panel_pid" 2>/dev/null; then
    kill "$panel_pid"
    wait "$panel_pid" 2>/dev/null || true
  fi
  quelt_xvfb_stop
  rm -rf "${runtime:-}"
}
trap cleanup EXIT
quelt_xvfb_start
# A private runtime folder for the single-instance guard.
runtime=$(mktemp -d /tmp/quelt-gui.XXXXXX)
export XDG_RUNTIME_DIR="$runtime"

status=0
fail() { echo "gui: FAIL: $*"; status=1; }

"$panel" &
panel_pid=$!
sleep 1
import -window root "$shots/splash.png"
/usr/bin/python3 scripts/gui/check_shot.py "$shots/splash.png" splash || fail "splash"

# A second copy ends at once, with 0, while the first runs.
start=$(date +%s%N)
set +e
timeout 5 "$panel"
second=$?
set -e
took=$((($(date +%s%N) - start) / 1000000))
[ "$second" -eq 0 ] || fail "second copy exit code $second"
[ "$took" -lt 2000 ] || fail "second copy took ${took} ms"

quelt_wait_window "1127x679+236+185" 10 || fail "no 1127x679 window at (236,185)"
sleep 0.5
import -window root "$shots/panel.png"
/usr/bin/python3 scripts/gui/check_shot.py "$shots/panel.png" panel || fail "panel"
kill -0 "$panel_pid" 2>/dev/null || fail "the panel ended early"

# Exit button (1069, 3, 1117, 27) in client pixels.
xdotool mousemove $((236 + 1093)) $((185 + 15)) click 1
for _ in $(seq 50); do
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$panel_pid" 2>/dev/null; then
  fail "Exit did not end the panel"
else
  set +e
  wait "$panel_pid"
  code=$?
  set -e
  panel_pid=""
  [ "$code" -eq 0 ] || fail "exit code $code after Exit"
fi

# A skin folder that fails the check: one error box, and after OK the program ends with 0.
broken=$(mktemp -d /tmp/quelt-gui-broken.XXXXXX)
cp "$panel" "$broken/"
mkdir -p "$broken/GUISkin"
cp -r assets/GUISkin/GUIFrameSplash "$broken/GUISkin/"
"$broken/quelt-panel" &
panel_pid=$!
box=""
for _ in $(seq 100); do
  box=$(xdotool search --name "QueltError" 2>/dev/null | head -1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
if [ -z "$box" ]; then
  fail "no error box for an incomplete skin folder"
else
  sleep 0.3
  import -window root "$shots/error-box.png"
  eval "$(xdotool getwindowgeometry --shell "$box")"
  # The OK button sits in the box's bottom-right corner.
  xdotool mousemove --window "$box" $((WIDTH - 45)) $((HEIGHT - 20)) click 1
fi
for _ in $(seq 50); do
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$panel_pid" 2>/dev/null; then
  fail "the failed start did not end after its error box"
else
  set +e
  wait "$panel_pid"
  code=$?
  set -e
  panel_pid=""
  [ "$code" -eq 0 ] || fail "exit code $code after a failed start"
fi
rm -rf "$broken"

echo "gui: screenshots in $shots (splash.png, panel.png, error-box.png)"
[ "$status" -eq 0 ] && echo "gui: native panel passed"
exit "$status"
