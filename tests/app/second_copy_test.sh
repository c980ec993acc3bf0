#!/usr/bin/env bash
# quelt-panel started while another copy holds its lock: it ends at once with 0 and without a
# window; with QUELT_TRACE=1 its trace line reaches standard error, without it nothing does.
#   usage: second_copy_test.sh QUELT_PANEL
set -uo pipefail
panel=$1
# The panel checks its X display before it looks for another copy.
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# The first copy: this script holds the lock file the program takes in login session 7.
export XDG_SESSION_ID=7
exec 9>"$runtime/CPanorilApp.session-7.lock"
flock -n 9 || { echo "cannot take the lock" >&2; exit 1; }

fail=0
quiet=$(env -u WAYLAND_DISPLAY -u QUELT_TRACE XDG_RUNTIME_DIR="$runtime" timeout 20 "$panel" 2>&1)
status=$?
[ "$status" -eq 0 ] || { echo "second copy ended with $status" >&2; fail=1; }
[ -z "$quiet" ] || { echo "second copy wrote without QUELT_TRACE: $quiet" >&2; fail=1; }

traced=$(env -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$runtime" QUELT_TRACE=1 timeout 20 "$panel" 2>&1)
status=$?
[ "$status" -eq 0 ] || { echo "second copy with QUELT_TRACE=1 ended with $status" >&2; fail=1; }
[ "$traced" = "CPanorilApp - another copy runs: end" ] ||
  { echo "unexpected trace with QUELT_TRACE=1: '$traced'" >&2; fail=1; }
[ "$fail" -eq 0 ] && echo "second copy: ends with 0; its trace appears only with QUELT_TRACE=1"
exit "$fail"
