#!/usr/bin/env bash
# The layer check fails, naming file and line, on each include that goes up or sideways, and
# passes on the tree as it is and on a downward include.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
check=$repo/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$check" "$repo/src" >/dev/null || { echo "FAIL: the tree itself breaks the layer table"; exit 1; }

failures=0
# file in the copied tree | include added | expected result
while IFS='|' read -r file include expect; do
  rm -rf "$work/src" && cp -r "$repo/src" "$work/src"
  printf '#include "%s"\n' "$include" >> "$work/src/$file"
  lines=$(wc -l < "$work/src/$file")
  if out=$(bash "$check" "$work/src" 2>&1); then got=pass; else got=fail; fi
  if [ "$got" != "$expect" ]; then
    echo "FAIL: $file including $include: expected $expect, got $got"; failures=$((failures + 1))
  elif [ "$expect" = fail ] && ! grep -q "^$file:$lines: " <<<"$out"; then
    echo "FAIL: $file including $include: the report does not name $file:$lines"; echo "$out"
    failures=$((failures + 1))
  fi
done <<'TABLE'
base/ui_strings.cpp|platform/clock/clock.h|fail
platform/clock/steady_clock.cpp|device/frame.h|fail
device/frame.cpp|skin/skin_rect.h|fail
device/frame.cpp|platform/window/window_host.h|fail
device/frame.cpp|platform/serial/posix/serial_channel.h|fail
skin/skin_image.cpp|device/frame.h|fail
skin/skin_image.cpp|panel/panel_messages.h|fail
panel/resolution_lists.cpp|app/panoril_app.h|fail
panel/resolution_lists.cpp|platform/window/gtk/gtk_error_box.h|fail
device/frame.cpp|platform/serial/serial_port.h|pass
panel/resolution_lists.cpp|skin/skin_rect.h|pass
app/main.cpp|panel/panel_messages.h|pass
TABLE

[ "$failures" -eq 0 ] && echo "check-layers: 12 cases passed" || exit 1
