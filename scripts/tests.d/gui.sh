#!/usr/bin/env bash
# The panel on a private Xvfb, natively and (when the Windows build can be made) under wine:
# the splash shows, then the 1127 x 679 panel at (236, 185) with its title, disconnected; a
# second copy ends at once with 0; a click on Exit ends the panel with 0; a skin folder that
# fails the check gives one error box and, after it, exit code 0. Screenshots go to
# build/screenshots/ (native-*.png, wine-*.png).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
shots="$root/build/screenshots"
mkdir -p "$shots"

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-panel
native="$root/build/default/src/app/quelt-panel"

# shellcheck source=../xvfb.sh
source scripts/xvfb.sh
panel_pid=""
scratch=$(mktemp -d /tmp/quelt-gui.XXXXXX)
cleanup() {
  if [ -n "$panel_pid" ] && kill -0 "$panel_pid" 2>/dev/null; then
    kill "$panel_pid"
    wait "$panel_pid" 2>/dev/null || true
  fi
  [ "$(type -t quelt_wine_cleanup)" = function ] && quelt_wine_cleanup
  quelt_xvfb_stop
  rm -rf "$scratch"
}
trap cleanup EXIT
quelt_xvfb_start --fresh
# A private runtime folder for the single-instance guard of the Linux build.
export XDG_RUNTIME_DIR="$scratch"

status=0
fail() { echo "gui: FAIL ($mode): $*"; status=1; }

# Waits up to 5 s for the panel process to end; sets `code` to its exit code (or fails).
await_end() {
  for _ in $(seq 50); do
    kill -0 "$panel_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$panel_pid" 2>/dev/null; then
    fail "$1: the program did not end"
    return 1
  fi
  set +e
  wait "$panel_pid"
  code=$?
  set -e
  panel_pid=""
  [ "$code" -eq 0 ] || fail "$1: exit code $code"
}

# check_program MODE RUNNER EXE: RUNNER is "" natively or "wine".
check_program() {
  mode=$1
  local runner=$2 exe=$3
  $runner "$exe" &
  panel_pid=$!
  sleep 1.5
  import -window root "$shots/$mode-splash.png"
  /usr/bin/python3 scripts/gui/check_shot.py "$shots/$mode-splash.png" splash || fail "splash"

  local start took second
  start=$(date +%s%N)
  set +e
  timeout 10 $runner "$exe"
  second=$?
  set -e
  took=$((($(date +%s%N) - start) / 1000000))
  [ "$second" -eq 0 ] || fail "second copy exit code $second"
  [ "$took" -lt 3000 ] || fail "second copy took ${took} ms"

  quelt_wait_window "1127x679+236+185" 15 || fail "no 1127x679 window at (236,185)"
  sleep 0.5
  import -window root "$shots/$mode-panel.png"
  /usr/bin/python3 scripts/gui/check_shot.py "$shots/$mode-panel.png" panel || fail "panel"
  kill -0 "$panel_pid" 2>/dev/null || fail "the panel ended early"

  # Exit button (1069, 3, 1117, 27) in client pixels.
  xdotool mousemove $((236 + 1093)) $((185 + 15)) click 1
  await_end "Exit" || true

  # Only the splash image: the skin check fails.
  local broken="$scratch/broken-$mode"
  mkdir -p "$broken/GUISkin"
  cp "$exe" "$broken/"
  cp -r assets/GUISkin/GUIFrameSplash "$broken/GUISkin/"
  $runner "$broken/$(basename "$exe")" &
  panel_pid=$!
  local box=""
  for _ in $(seq 150); do
    box=$(xdotool search --name "QueltError" 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    sleep 0.1
  done
  if [ -z "$box" ]; then
    fail "no error box for an incomplete skin folder"
  else
    sleep 0.5
    import -window root "$shots/$mode-error-box.png"
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$box" | grep -E '^(WIDTH|HEIGHT)=')"
    if [ -z "$runner" ]; then
      # The OK button sits in the box's bottom-right corner.
      xdotool mousemove --window "$box" $((WIDTH - 45)) $((HEIGHT - 20)) click 1
    else
      # Without a window manager, keys go to the window under the pointer.
      xdotool mousemove --window "$box" $((WIDTH / 2)) $((HEIGHT / 2)) key Return
    fi
  fi
  await_end "failed start" || true
  [ "$status" -eq 0 ] && echo "gui: $mode panel passed"
}

check_program native "" "$native"

if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null &&
   [ "${QUELT_GUI_WINE:-1}" != 0 ]; then
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j2 --target quelt-panel
  # shellcheck source=../wine/prefix.sh
  source scripts/wine/prefix.sh
  quelt_wine_setup
  trap cleanup EXIT
  check_program wine wine "$root/build/mingw/src/app/quelt-panel.exe"
else
  echo "gui: no mingw-w64 or wine: the Windows panel is not checked"
fi

echo "gui: screenshots in $shots"
exit "$status"
