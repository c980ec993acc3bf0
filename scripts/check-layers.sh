#!/usr/bin/env bash
# Checks that every `#include "…"` under src/ goes downward through the layers:
#   base ← platform ← device, skin ← panel ← app
# - base includes only base;
# - platform includes base and platform;
# - device includes base, device and only the clock and serial-port interfaces of platform;
# - skin includes base, platform's interface headers and skin;
# - panel includes base, platform's interface headers, device, skin and panel;
# - app includes any of them.
# Outside platform nobody includes a backend (platform/<concept>/<os>/…): CMake chooses those.
# Usage: scripts/check-layers.sh [SOURCE_ROOT]   (default: the repository's src/)
# Prints FILE:LINE and the rule for every include that breaks the table; exits 1 if there is any.
set -euo pipefail
root=${1:-"$(dirname "$0")/../src"}
cd "$root"

layer_of() {
  case $1 in
    base/*) echo base ;;
    platform/*) echo platform ;;
    device/*) echo device ;;
    skin/*) echo skin ;;
    panel/*) echo panel ;;
    app/*) echo app ;;
    *) echo unknown ;;
  esac
}

# An interface header of platform sits directly in its concept folder: platform/<concept>/x.h.
is_platform_interface() {
  [[ $1 =~ ^platform/[^/]+/[^/]+\.h$ ]]
}

allowed() {
  local from=$1 target=$2 to
  to=$(layer_of "$target")
  if [ "$to" = platform ] && [ "$from" != platform ] && ! is_platform_interface "$target"; then
    return 1
  fi
  case $from:$to in
    base:base) return 0 ;;
    platform:base | platform:platform) return 0 ;;
    device:base | device:device) return 0 ;;
    device:platform)
      [ "$target" = platform/clock/clock.h ] || [ "$target" = platform/serial/serial_port.h ]
      return ;;
    skin:base | skin:platform | skin:skin) return 0 ;;
    panel:base | panel:platform | panel:device | panel:skin | panel:panel) return 0 ;;
    app:base | app:platform | app:device | app:skin | app:panel | app:app) return 0 ;;
  esac
  return 1
}

failures=0
while IFS= read -r -d '' file; do
  from=$(layer_of "$file")
  lineno=0
  while IFS= read -r line; do
    lineno=$((lineno + 1))
    [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    # A file's own folder-relative includes (no slash) stay inside its layer.
    [[ $target == */* ]] || continue
    if ! allowed "$from" "$target"; then
      echo "$file:$lineno: $from may not include \"$target\" ($(layer_of "$target"))"
      failures=$((failures + 1))
    fi
  done < "$file"
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -printf '%P\0' | sort -z)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) against the layer table"
  exit 1
fi
echo "check-layers: every include goes downward"
