#!/usr/bin/env bash
# The panel on a private Xvfb, natively and (when the Windows build can be made) under wine:
# the splash shows, then the 1127 x 679 panel at (236, 185) with its title, disconnected; a
# second copy ends at once with 0; a click on Exit ends the panel with 0; a skin folder that
# fails the check gives one error box and, after it, exit code 0. Skin folders that pass the
# check but lie (scripts/gui/hostile_skin.py): a picture whose header claims 20000 x 20000 pixels
# and a 1 x 1 panel background each give one error box within a few seconds and exit code 0,
# with no higher peak memory than a normal start; an undecodable splash image shows no splash
# window at all (no black box) and the panel starts. Screenshots go to build/screenshots/
# (native-*.png, wine-*.png).
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

# Peak resident memory (KiB) of a running process. Under wine the process started as "wine EXE"
# keeps its id while it becomes the Windows program.
peak_kib() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$1/status" 2>/dev/null || echo 0; }

# Waits up to 15 s for an error box; sets `box` to its window id (empty when none came).
find_error_box() {
  box=""
  for _ in $(seq 150); do
    box=$(xdotool search --name "QueltError" 2>/dev/null | head -1 || true)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
  return 1
}

# Presses the OK button of error box `box`.
dismiss_error_box() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$box" | grep -E '^(WIDTH|HEIGHT)=')"
  if [ -z "$runner" ]; then
    # The OK button sits in the box's bottom-right corner.
    xdotool mousemove --window "$box" $((WIDTH - 45)) $((HEIGHT - 20)) click 1
  else
    # Without a window manager, keys go to the window under the pointer.
    xdotool mousemove --window "$box" $((WIDTH / 2)) $((HEIGHT / 2)) key Return
  fi
}

# True while a viewable top-level window of size WxH exists.
viewable_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk -v size=" $1+" 'index($0, size) { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && return 0
  done
  return 1
}

# Copies the program beside a lying skin folder of KIND; sets `hostile_exe`.
make_hostile() {
  local kind=$1 folder="$scratch/$1-$mode"
  mkdir -p "$folder"
  cp "$exe" "$folder/"
  /usr/bin/python3 scripts/gui/hostile_skin.py assets/GUISkin "$folder/GUISkin" "$kind"
  hostile_exe="$folder/$(basename "$exe")"
}

# check_refused KIND NORMAL_PEAK_KIB: the lying skin ends the start like a broken one.
check_refused() {
  local kind=$1 normal_peak=$2 start took peak
  make_hostile "$kind"
  start=$(date +%s%N)
  $runner "$hostile_exe" &
  panel_pid=$!
  if ! find_error_box; then
    fail "$kind: no error box"
    kill "$panel_pid" 2>/dev/null || true
    wait "$panel_pid" 2>/dev/null || true
    panel_pid=""
    return 0
  fi
  took=$((($(date +%s%N) - start) / 1000000))
  peak=$(peak_kib "$panel_pid")
  echo "gui: $mode $kind: error box after $took ms, peak memory $((peak / 1024)) MiB" \
    "(normal start $((normal_peak / 1024)) MiB)"
  # The 2.5 s splash pause comes first; wine starts more slowly.
  [ "$took" -lt 10000 ] || fail "$kind: the error box took $took ms"
  [ "$peak" -gt 0 ] && [ "$peak" -le $((normal_peak + 16384)) ] ||
    fail "$kind: peak memory $peak KiB, a normal start takes $normal_peak KiB"
  sleep 0.3
  import -window root "$shots/$mode-$kind.png"
  dismiss_error_box
  await_end "$kind" || true
}

# An undecodable splash image: no splash window is ever visible, the panel starts.
check_bad_splash() {
  make_hostile bad-splash
  $runner "$hostile_exe" &
  panel_pid=$!
  local seen=0
  for _ in $(seq 20); do
    viewable_window 270x340 && seen=1
    sleep 0.1
  done
  [ "$seen" -eq 0 ] || fail "bad-splash: a splash window is visible"
  if quelt_wait_window "1127x679+236+185" 15; then
    [ "$seen" -eq 0 ] && echo "gui: $mode bad-splash: no splash window visible, the panel started"
  else
    fail "bad-splash: no panel"
  fi
  sleep 0.5
  import -window root "$shots/$mode-bad-splash.png"
  xdotool mousemove $((236 + 1093)) $((185 + 15)) click 1
  await_end "bad-splash Exit" || true
}

# check_program MODE RUNNER EXE: RUNNER is "" natively or "wine".
check_program() {
  mode=$1
  runner=$2
  exe=$3
  $runner "$exe" &
  panel_pid=$!
  sleep 1.5
  import -window root "$shots/$mode-splash.png"
  /usr/bin/python3 scripts/gui/check_shot.py "$shots/$mode-splash.png" splash || fail "splash"
  # What the undecodable splash check below must not see.
  viewable_window 270x340 || fail "the splash window is not viewable"

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
  local normal_peak
  normal_peak=$(peak_kib "$panel_pid")

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
  if ! find_error_box; then
    fail "no error box for an incomplete skin folder"
  else
    sleep 0.5
    import -window root "$shots/$mode-error-box.png"
    dismiss_error_box
  fi
  await_end "failed start" || true

  check_refused oversized "$normal_peak"
  check_refused small-background "$normal_peak"
  check_bad_splash
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
