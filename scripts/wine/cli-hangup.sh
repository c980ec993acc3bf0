#!/usr/bin/env bash
# A box that goes away while quelt-cli waits for its reply: quelt-boxsim is killed (SIGKILL) once
# it has logged the request, and the command must end at once (well before the 20 s reply
# limit; a few seconds at most on a loaded machine) with exit 1 and the
# operation's own error text, on Linux and under wine through the Windows channel alike.
# Needs a prepared prefix (source prefix.sh; quelt_wine_setup).
#   cli-hangup.sh NATIVE_CLI NATIVE_BOXSIM WINDOWS_CLI_EXE
set -uo pipefail

native_cli=$1
boxsim=$2
windows_cli=$3
ports="${QUELT_WINE_PORT_DIR:?run inside a prepared wine prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/quelt-hangup.XXXXXX")"
sim_pid=""
cli_pid=""
finish() {
  [ -n "$sim_pid" ] && { kill -9 "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; }
  [ -n "$cli_pid" ] && { kill "$cli_pid" 2>/dev/null; wait "$cli_pid" 2>/dev/null; }
  rm -rf "$work"
}
trap finish EXIT

failures=0
# check SIDE NAME BOX AWAITED EXPECTED_ERROR ARGS...
check() {
  local side=$1 name=$2 box=$3 awaited=$4 expected=$5 status killed_at ended_at ms
  shift 5
  rm -f "$ports"/COM* "$work/log" "$work/sim.out"
  "$boxsim" --port-dir "$ports" --log "$work/log" --box "$box" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 200); do
    grep -q '^ready' "$work/sim.out" 2>/dev/null && break
    sleep 0.02
  done
  if [ "$side" = linux ]; then
    QUELT_PORT_DIR="$ports" "$native_cli" "$@" >"$work/out" 2>"$work/err" &
  else
    wine "$windows_cli" "$@" >"$work/out" 2>"$work/err" &
  fi
  cli_pid=$!
  for _ in $(seq 3000); do
    grep -q "$awaited" "$work/log" 2>/dev/null && break
    sleep 0.01
  done
  killed_at=$(date +%s%N)
  kill -9 "$sim_pid"
  wait "$sim_pid" 2>/dev/null
  sim_pid=""
  wait "$cli_pid"
  status=$?
  cli_pid=""
  ended_at=$(date +%s%N)
  ms=$(((ended_at - killed_at) / 1000000))
  # Noticed at once, not after the 20 s reply limit; the bound leaves room for a loaded machine
  # (a kill that lands in the 1 s command pause is noticed when the pause ends).
  if [ "$status" = 1 ] && [ "$(tr -d '\r' <"$work/err")" = "$expected" ] && [ "$ms" -lt 5000 ]; then
    echo "hang-up $side $name: exit 1 after $ms ms, error text as expected"
  else
    echo "hang-up $side $name: FAILED: exit $status after $ms ms, stderr: $(tr -d '\r' <"$work/err")"
    failures=$((failures + 1))
  fi
}

apply_error="quelt-cli: Panoril apply fail.
ErrorCode = 0xA003"
for side in linux windows; do
  # The port that hung up during discovery is named, with the device behind COM1 on that side.
  com1="$ports/COM1"
  [ "$side" = windows ] && com1='\\.\COM1'
  status_error="quelt-cli: warning: COM1 ($com1): opened, the line hung up before a reply — skipped
quelt-cli: The Serial COM initialize fail.
Please check again."
  check "$side" status "1:12:1:delay=5000" '"kind":"status"' "$status_error" status
  check "$side" apply "2:12:1:delay=1500" '"name":"FinishApply"' "$apply_error" apply
done
[ "$failures" -eq 0 ] || { echo "cli hang-up: $failures case(s) failed"; exit 1; }
echo "cli hang-up: a killed simulator ends the wait at once on both"
