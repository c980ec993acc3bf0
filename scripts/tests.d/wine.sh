#!/usr/bin/env bash
# The Windows build under wine: cross-builds the `mingw` preset, prepares a throwaway prefix with
# pty peers mapped to COM ports, and runs the whole suite through ctest. Any failing or crashing
# test exe fails this script.
set -euo pipefail
cd "$(dirname "$0")/../.."

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

build_start=$(now)
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "${QUELT_JOBS:-$(nproc)}"
echo "wine: mingw build took $(elapsed "$build_start") s"

# shellcheck source=../wine/prefix.sh
source scripts/wine/prefix.sh
prefix_start=$(now)
quelt_wine_setup

# Pty peers for the serial channel tests (see tests/win32/serial_channel_test.cpp).
rig="$WINEPREFIX/rig"
python3 scripts/wine/serial-rig.py "$rig" COM3=responder COM12=responder COM4=stall &
quelt_wine_track_pid $!
for _ in $(seq 200); do
  [ -e "$rig/ready" ] && break
  sleep 0.05
done
[ -e "$rig/ready" ] || { echo "wine: serial rig did not start" >&2; exit 1; }
quelt_wine_map_ports 3="$rig/COM3" 12="$rig/COM12" 4="$rig/COM4"
export QUELT_WIN32_SERIAL_RIG=1
echo "wine: prefix ready in $(elapsed "$prefix_start") s"

test_start=$(now)
ctest --preset mingw -j 2
echo "wine: ctest took $(elapsed "$test_start") s"
scripts/wine/run-exe.sh build/mingw/tests/win32/win32_serial_roundtrip.exe 3 200
