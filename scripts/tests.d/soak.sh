#!/usr/bin/env bash
# Bounded soak of the device link: 20,000 status exchanges, 500 discoveries and 200 background
# Applies against quelt-boxsim on pseudo-terminals, checking that open file descriptors, threads
# and resident memory do not grow (see bench/soak). Prints the figures of every phase; any failed
# exchange, error box or growth fails it.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quelt-soak
start=$(date +%s)
build/default/bench/soak/quelt-soak "$@"
echo "soak: took $(($(date +%s) - start)) s"
