#!/usr/bin/env bash
# Runs a command with a throwaway wine prefix prepared, e.g.
#   scripts/wine/with-prefix.sh ctest --preset mingw
# The prefix, its wineserver and everything started here are gone when the command ends.
set -uo pipefail
# shellcheck source=prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/prefix.sh"
quelt_wine_setup || exit 1
"$@"
