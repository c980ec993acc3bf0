# Sourced by the test and demo scripts: an X display for what opens windows.
#   quelt_xvfb_start [--fresh]  without --fresh, an existing DISPLAY is kept; otherwise (or with
#                               --fresh) a private Xvfb starts on a free display number
#                               (1600x1050, no TCP, no server reset). Sets DISPLAY and
#                               QUELT_XVFB_PID. The caller stops it (quelt_xvfb_stop, e.g. in its
#                               EXIT trap).
#   quelt_xvfb_stop             stops the Xvfb this shell started, if any.
#   quelt_wait_window WxH+X+Y [SECONDS]  waits until a top-level window of that geometry exists.
quelt_xvfb_start() {
  if [ "${1:-}" != --fresh ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  if ! command -v Xvfb >/dev/null; then
    echo "xvfb: no Xvfb, tests that need a display will skip" >&2
    return 0
  fi
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x1050x24 -nolisten tcp -noreset 3>"$number_file" \
    </dev/null >/dev/null 2>&1 &
  QUELT_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.05
  done
  if [ ! -s "$number_file" ]; then
    echo "xvfb: Xvfb did not start" >&2
    kill "$QUELT_XVFB_PID" 2>/dev/null || true
    QUELT_XVFB_PID=
    rm -f "$number_file"
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
}

quelt_xvfb_stop() {
  if [ -n "${QUELT_XVFB_PID:-}" ]; then
    kill "$QUELT_XVFB_PID" 2>/dev/null || true
    wait "$QUELT_XVFB_PID" 2>/dev/null || true
    QUELT_XVFB_PID=
  fi
}

quelt_wait_window() {
  local geometry=$1 limit=${2:-10}
  for _ in $(seq $((limit * 10))); do
    xwininfo -root -tree 2>/dev/null | grep -q " ${geometry} " && return 0
    sleep 0.1
  done
  return 1
}
