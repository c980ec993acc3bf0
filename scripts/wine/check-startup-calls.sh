#!/usr/bin/env bash
# Runs tests/win32/app_startup_test.exe (which starts quelt-panel.exe as a second copy) with
# wine's trace of the common controls on and QUELT_TRACE=1, and checks in the output that the
# program initialised the common controls with the class set 0xFF (wine traces the call only
# when the structure size is 8), registered for restart with flag 1 and no command line, and
# copied its trace line to standard error.
#   usage: check-startup-calls.sh RUN_EXE TEST_EXE
set -uo pipefail
if [ $# -ne 2 ]; then
  echo "usage: check-startup-calls.sh RUN_EXE TEST_EXE" >&2
  exit 2
fi
output=$(WINEDEBUG=trace+commctrl QUELT_TRACE=1 "$1" "$2" 2>&1)
status=$?
printf '%s\n' "$output" | grep -v -e ':trace:commctrl:DllMain' -e '^[0-9a-f]*:fixme:'
[ "$status" -eq 0 ] || exit "$status"
missing=0
if ! grep -q ':trace:commctrl:InitCommonControlsEx 0xff$' <<<"$output"; then
  echo "check-startup-calls: no InitCommonControlsEx with size 8 and classes 0xFF" >&2
  missing=1
fi
if ! grep -q ':fixme:process:RegisterApplicationRestart ((null),1)$' <<<"$output"; then
  echo "check-startup-calls: no RegisterApplicationRestart(null, 1)" >&2
  missing=1
fi
if ! grep -q '^CPanorilApp - another copy runs: end' <<<"$output"; then
  echo "check-startup-calls: no trace line on standard error with QUELT_TRACE=1" >&2
  missing=1
fi
[ "$missing" -eq 0 ] && echo "check-startup-calls: both start-up calls made, trace line written"
exit "$missing"
