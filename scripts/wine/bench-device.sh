#!/usr/bin/env bash
# quelt-bench-device.exe under wine against quelt-boxsim on the ptys the prefix maps to COM ports.
#   scripts/wine/bench-device.sh BOXSIM EXE [EXE...] [-- BENCH ARGUMENTS]
# Every case the first exe lists (--list) runs against freshly started boxes, once per exe in turn,
# so two builds (say the landed one and this one) are measured side by side in one run. Uses the
# prepared prefix when there is one (scripts/wine/with-prefix.sh), else makes its own.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
boxsim=$1
shift
exes=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  exes+=("$1")
  shift
done
[ "${1:-}" = -- ] && shift
[ ${#exes[@]} -gt 0 ] || { echo "usage: bench-device.sh BOXSIM EXE [EXE...] [-- ARGS]" >&2; exit 2; }

if [ "${QUELT_WINE_READY:-0}" != 1 ]; then
  # shellcheck source=prefix.sh
  source "$here/prefix.sh"
  quelt_wine_setup || exit 1
fi
ports="$QUELT_WINE_PORT_DIR"
work="$(mktemp -d "${TMPDIR:-/tmp}/quelt-bench.XXXXXX")"
sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
  fi
}
trap 'stop_sim; rm -rf "$work"' EXIT

status=0
while read -r name boxes; do
  for exe in "${exes[@]}"; do
    args=(--port-dir "$ports")
    for box in $boxes; do args+=(--box "$box"); done
    "$boxsim" "${args[@]}" >"$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 200); do
      grep -q '^ready' "$work/sim.out" 2>/dev/null && break
      sleep 0.02
    done
    printf "%s\n  " "$exe"
    wine "$exe" --case "$name" "$@" || status=1
    stop_sim
  done
done < <(wine "${exes[0]}" --list | tr -d '\r')
exit $status
