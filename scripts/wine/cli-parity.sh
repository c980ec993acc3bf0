#!/usr/bin/env bash
# quelt-cli on Linux and quelt-cli.exe under wine, each against freshly started simulated boxes
# (quelt-boxsim on ptys in the same port folder): every case must give the same output, exit
# status, request log and written files on both. Each side runs in its own folder holding copies
# of the profile fixtures below. Needs a prepared prefix (source prefix.sh; quelt_wine_setup).
#   cli-parity.sh NATIVE_CLI NATIVE_BOXSIM WINDOWS_CLI_EXE
# Windows writes CR LF line ends on the console; outputs are compared with CR removed, and the
# time a profile was saved is blanked. QUELT_PARITY_SHOW=1 prints what each case gave.
set -uo pipefail

native_cli="$(realpath "$1")"
boxsim="$(realpath "$2")"
windows_cli="$(realpath "$3")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ports="${QUELT_WINE_PORT_DIR:?run inside a prepared wine prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/quelt-parity.XXXXXX")"
sim_pid=""

stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
  fi
}
finish() {
  stop_sim
  rm -rf "$work"
}
trap finish EXIT

# start_sim LOG BOX... : boxes until the simulator prints "ready"
start_sim() {
  local log=$1 box
  shift
  local args=(--port-dir "$ports" --log "$log")
  for box in "$@"; do args+=(--box "$box"); done
  "$boxsim" "${args[@]}" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 200); do
    grep -q '^ready' "$work/sim.out" 2>/dev/null && return 0
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.02
  done
  echo "quelt-boxsim did not start: $(cat "$work/sim.err")" >&2
  return 1
}

# Profiles for the two boxes of most cases (COM3 ID 2, COM12 ID 5), with faults.
write_fixtures() {
  local dir="$work/fixtures" box3 box12
  mkdir -p "$dir"
  box3='{"com": 3, "boxId": 2, "firmware": 12, "frame": "ff540c0280000000030300640f1400aa",
    "settings": {"mode": "2x2", "frameRate": 60, "clockSync": "dp1", "resolutionDp1": 3,
                 "resolutionDp2": 3, "hLimit": 100, "vLimit": 15, "hBezel": 20, "vBezel": 0}}'
  box12='{"com": 12, "boxId": 5, "firmware": 10, "frame": "ff540a0522800000040200321e000aaa",
    "settings": {"mode": "clone", "frameRate": 120, "clockSync": "off", "resolutionDp1": 4,
                 "resolutionDp2": 2, "hLimit": 50, "vLimit": 30, "hBezel": 0, "vBezel": 10}}'
  profile() {
    echo "{\"format\": \"quelt-wall-profile\", \"version\": 1, \"saved\": \"2026-12-10T14:00:00Z\","
    echo " \"boxes\": [$1]}"
  }
  profile "$box3, $box12" >"$dir/wall2.json"
  profile "$box3, ${box12/\"hBezel\": 0/\"hBezel\": 70}" >"$dir/range.json"
  profile "$box3, ${box12/\"boxId\": 5/\"boxId\": 4}" >"$dir/missing.json"
  head -c 100 "$dir/wall2.json" >"$dir/corrupt.json"
}

# run_side SIDE CASE BOXES COMMANDS : every command (";"-separated) of a case on one set of boxes,
# in a folder of its own; the files the commands wrote are shown after their output
run_side() {
  local side=$1 name=$2 boxes=$3 commands=$4 out="$work/$1-$2" cmd status file
  local files="$work/$1-$2.files"
  : >"$out.txt"
  : >"$out.log"
  mkdir -p "$files"
  cp "$work/fixtures/"* "$files/"
  if [ -n "$boxes" ]; then
    # shellcheck disable=SC2086
    start_sim "$out.log" $boxes || return 1
  fi
  IFS=';' read -ra cmds <<<"$commands"
  for cmd in "${cmds[@]}"; do
    cmd="${cmd# }"
    # shellcheck disable=SC2086
    if [ "$side" = linux ]; then
      (cd "$files" && QUELT_PORT_DIR="$ports" "$native_cli" $cmd >"$out.stdout" 2>"$out.stderr")
    else
      (cd "$files" && "$here/run-exe.sh" "$windows_cli" $cmd >"$out.stdout" 2>"$out.stderr")
    fi
    status=$?
    {
      echo "\$ quelt-cli $cmd"
      tr -d '\r' <"$out.stdout"
      tr -d '\r' <"$out.stderr" | sed 's/^/stderr: /'
      echo "exit $status"
    } >>"$out.txt"
  done
  stop_sim
  for file in "$files"/* "$files"/.[!.]*; do
    [ -e "$file" ] || continue
    cmp -s "$file" "$work/fixtures/$(basename "$file")" 2>/dev/null && continue
    echo "--- wrote $(basename "$file")" >>"$out.txt"
    tr -d '\r' <"$file" >>"$out.txt"
  done
  sed -i -E 's/"saved": "[0-9TZ:-]+"/"saved": "(time)"/' "$out.txt"
}

failures=0
# check CASE "BOX BOX..." "COMMAND; COMMAND..."
check() {
  local name=$1 boxes=$2 commands=$3
  run_side linux "$name" "$boxes" "$commands" || { failures=$((failures + 1)); return; }
  run_side windows "$name" "$boxes" "$commands" || { failures=$((failures + 1)); return; }
  if diff -u "$work/linux-$name.txt" "$work/windows-$name.txt" >"$work/diff" &&
    diff -u "$work/linux-$name.log" "$work/windows-$name.log" >>"$work/diff"; then
    echo "parity $name: same ($(grep -c . "$work/linux-$name.log") requests)"
    [ "${QUELT_PARITY_SHOW:-0}" = 1 ] && sed 's/^/    /' "$work/linux-$name.txt"
  else
    echo "parity $name: DIFFERENT (linux above, windows below)"
    cat "$work/diff"
    failures=$((failures + 1))
  fi
}

write_fixtures
two="3:12:2 12:10:5"
check discover "$two" "discover --json; discover"
check status "$two" "status; status --box 1 --json"
check apply "$two" "apply --box 1 --mode clone --rate 120 --sync off --hlimit 100 --vlimit 30 --hbezel 20 --vbezel 10 --id 4 --json; status --box 1 --json"
check apply-all "$two" "apply --all --mode 2x2 --json"
check reset "$two" "reset hw; reset sw --box 1 --json"
check pattern "$two" "pattern on; pattern rgbw --box 1; pattern off --json"
check apply-refused "3:12:2:nak=0" "apply --mode 1x4"
check no-boxes "" "discover --json; status"
# Profiles: the second save replaces the first; restore applies both boxes, then reads back.
check save "$two" "save wall.json; save wall.json --json; save - --box 1"
check restore "$two" "restore wall2.json --dry-run; restore wall2.json --json; status --box 1 --json; restore wall2.json --dry-run --json"
check restore-refused "3:12:2 12:10:5:nak=0" "restore corrupt.json; restore range.json --json; restore missing.json; restore missing.json --skip-missing --dry-run; restore wall2.json"

# Status round trip: `status` (process start, discovery of two boxes, status read) against
# `--help` (process start only), 10 runs each.
cli_on() {
  local side=$1
  shift
  if [ "$side" = linux ]; then
    QUELT_PORT_DIR="$ports" "$native_cli" "$@" >/dev/null 2>&1
  else
    "$here/run-exe.sh" "$windows_cli" "$@" >/dev/null 2>&1
  fi
}
ms_per_run() {
  local start end
  start=$(date +%s%N)
  for _ in $(seq 10); do cli_on "$@"; done
  end=$(date +%s%N)
  echo $(((end - start) / 10000000))
}
time_status() {
  local side=$1 status_ms help_ms
  # shellcheck disable=SC2086
  start_sim "$work/timing.log" $two || return 1
  status_ms=$(ms_per_run "$side" status)
  help_ms=$(ms_per_run "$side" --help)
  stop_sim
  echo "status on $side: $status_ms ms per run, of which process start $help_ms ms"
}
time_status linux
time_status windows

if [ "$failures" -ne 0 ]; then
  echo "cli parity: $failures case(s) failed"
  exit 1
fi
echo "cli parity: Linux and Windows agree"
