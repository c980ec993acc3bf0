# Sourced by test scripts: makes sure an X display exists for the tests that open windows.
# When DISPLAY is unset it starts a private Xvfb on a free display number (1600x1050, no TCP,
# no server reset) and stops it when the sourcing shell exits.
quelt_xvfb_start() {
  if [ -n "${DISPLAY:-}" ]; then
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
    rm -f "$number_file"
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
  trap 'quelt_xvfb_stop' EXIT
}

quelt_xvfb_stop() {
  if [ -n "${QUELT_XVFB_PID:-}" ]; then
    kill "$QUELT_XVFB_PID" 2>/dev/null || true
    wait "$QUELT_XVFB_PID" 2>/dev/null || true
    QUELT_XVFB_PID=
  fi
}
