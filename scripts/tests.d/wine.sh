#!/usr/bin/env bash
# The Windows build under wine: cross-builds the `mingw` preset, prepares a throwaway prefix with
# pty peers mapped to COM ports, runs the whole suite through ctest, measures the serial round
# trip, then checks that quelt-cli.exe drives simulated boxes exactly as the Linux quelt-cli does.
# Any failing or crashing test exe, or any difference, fails this script.
set -euo pipefail
cd "$(dirname "$0")/../.."

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

build_start=$(now)
jobs="${QUELT_JOBS:-$(nproc)}"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
# The Linux tools the Windows command-line tool is compared with.
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target quelt-cli quelt-boxsim
echo "wine: builds took $(elapsed "$build_start") s"

# shellcheck source=../wine/prefix.sh
source scripts/wine/prefix.sh
prefix_start=$(now)
quelt_wine_setup --display

# Pty peers for the serial channel tests (see tests/win32/serial_channel_test.cpp).
rig_dir="$QUELT_WINE_PORT_DIR"
python3 scripts/wine/serial-rig.py "$rig_dir" COM3=responder COM12=responder COM4=stall COM5=hangup &
rig_pid=$!
quelt_wine_track_pid "$rig_pid"
for _ in $(seq 200); do
  [ -e "$rig_dir/ready" ] && break
  sleep 0.05
done
[ -e "$rig_dir/ready" ] || { echo "wine: serial rig did not start" >&2; exit 1; }
export QUELT_WIN32_SERIAL_RIG=1
echo "wine: prefix ready in $(elapsed "$prefix_start") s"

test_start=$(now)
ctest --preset mingw -j 2
echo "wine: ctest took $(elapsed "$test_start") s"
scripts/wine/run-exe.sh build/mingw/tests/win32/win32_serial_roundtrip.exe 3 200
kill "$rig_pid"
wait "$rig_pid" || true

parity_start=$(now)
scripts/wine/cli-parity.sh build/default/tools/cli/quelt-cli \
  build/default/tools/boxsim/pty/quelt-boxsim build/mingw/tools/cli/quelt-cli.exe
echo "wine: cli parity took $(elapsed "$parity_start") s"
scripts/wine/cli-hangup.sh build/default/tools/cli/quelt-cli \
  build/default/tools/boxsim/pty/quelt-boxsim build/mingw/tools/cli/quelt-cli.exe
