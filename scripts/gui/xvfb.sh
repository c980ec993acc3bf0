# Shared by the GUI scripts (source it): starts a private Xvfb on a free display and stops it on
# exit. Sets DISPLAY and QUELT_XVFB_PID.
quelt_xvfb_start() {
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 1600x1050x24 -nolisten tcp >/dev/null 2>&1 &
    QUELT_XVFB_PID=$!
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      kill -0 "$QUELT_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    if kill -0 "$QUELT_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ]; then
      export DISPLAY=":$display"
      return 0
    fi
  done
  echo "no free display for Xvfb" >&2
  return 1
}

quelt_xvfb_stop() {
  if [ -n "${QUELT_XVFB_PID:-}" ] && kill -0 "$QUELT_XVFB_PID" 2>/dev/null; then
    kill "$QUELT_XVFB_PID"
    wait "$QUELT_XVFB_PID" 2>/dev/null || true
  fi
  QUELT_XVFB_PID=""
}

# Waits until a top-level window of exactly WxH+X+Y exists (up to $2 seconds).
quelt_wait_window() {
  local geometry=$1 limit=${2:-10} i
  for i in $(seq $((limit * 10))); do
    xwininfo -root -tree 2>/dev/null | grep -q " ${geometry} " && return 0
    sleep 0.1
  done
  return 1
}
