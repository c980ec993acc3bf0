#!/usr/bin/env bash
# Runs one Windows executable under wine; the exe's exit code is this script's exit code.
# CMake uses it as the cross-compiling emulator, so `ctest --preset mingw` runs every test exe
# through here. Inside scripts/wine/with-prefix.sh (or scripts/tests.d/wine.sh) the prepared
# prefix is used; run on its own, it makes a throwaway prefix for this one run (slow: ~10 s).
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: run-exe.sh program.exe [arguments...]" >&2
  exit 2
fi

if [ "${QUELT_WINE_READY:-0}" != 1 ]; then
  # shellcheck source=prefix.sh
  source "$(dirname "${BASH_SOURCE[0]}")/prefix.sh"
  quelt_wine_setup || exit 1
  wine "$@"
  exit $?
fi

exec wine "$@"
