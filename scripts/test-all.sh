#!/usr/bin/env bash
# Every test: installs what is needed, builds natively (plain, ASan+UBSan, TSan) and for Windows,
# runs the suites (the Windows one under wine) and the integration checks. Fails on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# One private X display for every test that opens a window (GUI tests take a lock on it).
# shellcheck source=xvfb.sh
source scripts/xvfb.sh
quelt_xvfb_start
trap quelt_xvfb_stop EXIT

jobs=$(nproc)
status=0

run_preset() {
  local preset=$1
  echo "=== ${preset}: configure + build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== ${preset}: tests"
  ctest --preset "$preset" -j "$jobs" || status=1
}

echo "=== layers"
bash scripts/check-layers.sh || status=1

run_preset default
if [ "${QUELT_QUICK:-0}" != 1 ]; then
  LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizers/lsan.supp print_suppressions=0" run_preset asan
  # The system's font and GLib libraries are not built with the sanitizers; their own internals
  # are kept out of the reports.
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/sanitizers/tsan.supp" \
    run_preset tsan
fi

for extra in scripts/tests.d/*.sh; do
  [ -e "$extra" ] || continue
  echo "=== $(basename "$extra")"
  bash "$extra" || status=1
done

if [ "$status" -eq 0 ]; then echo "test-all: every suite passed"; else echo "test-all: FAILURES"; fi
exit "$status"
