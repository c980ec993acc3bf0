#!/usr/bin/env bash
# The packages as a user gets them, made by scripts/package.sh from the trees the test command
# has built:
#  - lintian on the .deb finds no error (its other tags are printed); its desktop file passes
#    desktop-file-validate, its AppStream metainfo `appstreamcli validate --no-net`;
#  - the .deb unpacked into a throwaway root: quelt-cli --version, and discover against the
#    package's own quelt-boxsim; the panel finds its skin in ../share/quelt, shows under Xvfb
#    with the window title "Quelt Control Center" and its splash transient for it and out of the
#    taskbar, and its Exit button ends it with 0;
#  - the tar.gz holds the same programs and skin;
#  - the zip holds the two exes and GUISkin only; its quelt-panel.exe shows the panel under wine;
#  - the installer runs silently under wine (/S /D=...), makes the Start-menu shortcut and the
#    uninstall entry, the installed panel shows the panel, and the silent uninstaller leaves no
#    file, shortcut or registry key behind.
# Screenshots: build/screenshots/package-*.png. QUELT_PACKAGE_WINE=0 leaves out the wine half.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
shots="$root/build/screenshots"
mkdir -p "$shots"
started=$(date +%s)
elapsed() { echo "$(($(date +%s) - started)) s"; }

with_wine=1
if [ "${QUELT_PACKAGE_WINE:-1}" = 0 ] || ! command -v wine >/dev/null; then
  with_wine=0
fi
QUELT_PACKAGE_WINDOWS=$with_wine bash scripts/package.sh
echo "packages: built in $(elapsed)"

pkgs="$root/build/packages"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build/default/CPackConfig.cmake)
name=quelt-control-center
deb="$pkgs/${name}_${version}_amd64.deb"
tgz="$pkgs/$name-$version-linux-x86_64.tar.gz"
zip="$pkgs/$name-$version-win64.zip"
setup="$pkgs/$name-$version-win64-setup.exe"

# shellcheck source=../xvfb.sh
source scripts/xvfb.sh
scratch=$(mktemp -d /tmp/quelt-packages.XXXXXX)
panel_pid=""
sim_pid=""
stop_pid() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  stop_pid "$panel_pid"
  stop_pid "$sim_pid"
  [ "$(type -t quelt_wine_cleanup)" = function ] && quelt_wine_cleanup
  quelt_xvfb_stop
  rm -rf "$scratch"
}
trap cleanup EXIT

status=0
fail() {
  echo "packages: FAIL: $*"
  status=1
}
expect_line() { # LABEL EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: '$3', expected '$2'"
}

for f in "$deb" "$tgz"; do
  [ -f "$f" ] || fail "missing $(basename "$f")"
done
[ "$status" -eq 0 ] || exit 1

echo "=== lintian $(basename "$deb")"
lintian_out="$scratch/lintian.txt"
lintian_status=0
lintian --fail-on error "$deb" >"$lintian_out" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$lintian_out" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"
echo "packages: lintian: $(grep -c '^E:' "$lintian_out" || true) errors, $(grep -c '^W:' "$lintian_out" || true) warnings"

echo "=== the .deb unpacked"
debroot="$scratch/deb"
dpkg-deb -x "$deb" "$debroot"
bin="$debroot/usr/bin"
app_id=$(sed -n 's/^Icon=//p' "$debroot"/usr/share/applications/*.desktop)
desktop-file-validate "$debroot/usr/share/applications/$app_id.desktop" || fail "desktop file"
appstreamcli validate --no-net "$debroot/usr/share/metainfo/$app_id.metainfo.xml" >"$scratch/as.txt" ||
  { cat "$scratch/as.txt"; fail "AppStream metainfo"; }
[ -f "$debroot/usr/share/icons/hicolor/256x256/apps/$app_id.png" ] || fail "no 256 px icon"
expect_line "quelt-cli --version" "quelt-cli $version" "$("$bin/quelt-cli" --version)"
expect_line "quelt-panel --version" "quelt-panel $version" "$("$bin/quelt-panel" --version)"
ports="$scratch/ports"
mkdir -p "$ports"
"$bin/quelt-boxsim" --port-dir "$ports" --box 3:17:1 --box 12:18:2 >"$scratch/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  grep -qx ready "$scratch/sim.out" 2>/dev/null && break
  sleep 0.05
done
found=$(QUELT_PORT_DIR="$ports" "$bin/quelt-cli" discover 2>&1 || true)
expect_line "quelt-cli discover" $'box 0 COM3 FW 17 ID 1\nbox 1 COM12 FW 18 ID 2' "$found"
stop_pid "$sim_pid"
sim_pid=""

echo "=== the tar.gz"
tar -xzf "$tgz" -C "$scratch"
tree="$scratch/$name-$version-linux-x86_64"
for program in quelt-panel quelt-cli quelt-boxsim; do
  [ -x "$tree/bin/$program" ] || fail "tar.gz: no bin/$program"
done
skin_files=$(find "$tree/share/quelt/GUISkin" -type f | wc -l)
expect_line "tar.gz skin files" 29 "$skin_files"

# The splash (hidden by now, kept until the end) rides on the panel: transient for it and
# kept out of the taskbar.
splash_is_owned() {
  local w props
  for w in $(xdotool search --name '^Quelt Control Center$' 2>/dev/null); do
    props=$(xprop -id "$w" WM_TRANSIENT_FOR _NET_WM_STATE 2>/dev/null)
    if grep -q 'WM_TRANSIENT_FOR(WINDOW)' <<<"$props" && grep -q SKIP_TASKBAR <<<"$props"; then
      return 0
    fi
  done
  return 1
}

# show_panel LABEL RUNNER EXE: the panel comes up on the screen (checked screenshot, native title)
# and its Exit button ends the program with 0.
show_panel() {
  local label=$1 runner=$2 exe=$3 code
  $runner "$exe" >"$scratch/$label.out" 2>&1 &
  panel_pid=$!
  if ! quelt_wait_window "1127x679+236+185" 40; then
    fail "$label: no 1127x679 panel at (236,185)"
    cat "$scratch/$label.out"
    stop_pid "$panel_pid"
    panel_pid=""
    return
  fi
  sleep 0.5
  import -window root "$shots/package-$label.png"
  /usr/bin/python3 scripts/gui/check_shot.py "$shots/package-$label.png" panel ||
    fail "$label: the panel does not look right"
  xdotool search --name '^Quelt Control Center$' >/dev/null 2>&1 ||
    fail "$label: no window titled 'Quelt Control Center'"
  if [ -z "$runner" ] && ! splash_is_owned; then
    fail "$label: the splash is not transient for the panel or has a taskbar entry"
  fi
  # The Exit button, (1069, 3, 1117, 27) in client pixels.
  xdotool mousemove $((236 + 1093)) $((185 + 15)) click 1
  for _ in $(seq 100); do
    kill -0 "$panel_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$panel_pid" 2>/dev/null; then
    fail "$label: Exit did not end the panel"
    stop_pid "$panel_pid"
  else
    code=0
    wait "$panel_pid" || code=$?
    [ "$code" -eq 0 ] || fail "$label: exit code $code"
  fi
  panel_pid=""
  echo "packages: $label panel shown ($(elapsed))"
}

quelt_xvfb_start --fresh
export XDG_RUNTIME_DIR="$scratch"
# Nothing beside the program: the skin comes from ../share/quelt.
[ ! -e "$bin/GUISkin" ] || fail "the .deb has GUISkin in usr/bin"
show_panel deb "" "$bin/quelt-panel"

if [ "$with_wine" = 1 ]; then
  for f in "$zip" "$setup"; do
    [ -f "$f" ] || fail "missing $(basename "$f")"
  done
  # shellcheck source=../wine/prefix.sh
  source scripts/wine/prefix.sh
  quelt_wine_setup
  trap cleanup EXIT
  echo "packages: wine prefix ready ($(elapsed))"

  echo "=== the zip"
  unzip -q "$zip" -d "$scratch/zip"
  zroot="$scratch/zip/$name-$version-win64"
  listing=$(cd "$zroot" && find . -maxdepth 1 -mindepth 1 | sort | tr '\n' ' ')
  expect_line "zip contents" "./GUISkin ./quelt-cli.exe ./quelt-panel.exe " "$listing"
  expect_line "zip skin files" 29 "$(find "$zroot/GUISkin" -type f | wc -l)"
  # Resources from the one version, the manifest, and no debug sections left.
  for exe in quelt-panel quelt-cli; do
    strings -el "$zroot/$exe.exe" | grep -x "$version" >/dev/null || fail "$exe.exe: no version resource"
    strings "$zroot/$exe.exe" | grep 'supportedOS' >/dev/null || fail "$exe.exe: no manifest"
    ! x86_64-w64-mingw32-objdump -h "$zroot/$exe.exe" | grep '\.debug_' >/dev/null ||
      fail "$exe.exe: not stripped"
  done
  strings "$zroot/quelt-panel.exe" | grep 'PerMonitorV2' >/dev/null || fail "quelt-panel.exe: not DPI-aware"
  expect_line "quelt-cli.exe --version" "quelt-cli $version" \
    "$(wine "$zroot/quelt-cli.exe" --version | tr -d '\r')"
  expect_line "quelt-panel.exe --version" "quelt-panel $version" \
    "$(wine "$zroot/quelt-panel.exe" --version | tr -d '\r')"
  show_panel zip wine "$zroot/quelt-panel.exe"

  echo "=== the installer"
  drive="$WINEPREFIX/drive_c"
  instdir="$drive/Apps/Quelt"
  uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelt Control Center'
  vendor_key='HKLM\Software\Quelt'
  wine "$setup" /S '/D=C:\Apps\Quelt' || fail "the installer failed"
  for f in quelt-panel.exe quelt-cli.exe Uninstall.exe; do
    [ -f "$instdir/$f" ] || fail "installer: no $f"
  done
  expect_line "installed skin files" 29 "$(find "$instdir/GUISkin" -type f 2>/dev/null | wc -l)"
  shortcut=$(find "$drive" -path '*Start Menu*' -name 'Quelt Control Center.lnk' | head -1)
  [ -n "$shortcut" ] || fail "installer: no Start-menu shortcut"
  wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "installer: no uninstall entry"
  echo "packages: installed ($(elapsed))"
  show_panel installed wine "$instdir/quelt-panel.exe"

  # The uninstaller copies itself to a temporary folder and returns at once; its copy does the
  # work.
  wine "$instdir/Uninstall.exe" /S || fail "the uninstaller failed"
  for _ in $(seq 300); do
    [ -e "$instdir" ] || break
    sleep 0.1
  done
  if [ -e "$instdir" ]; then
    fail "uninstaller: left $(cd "$instdir" && find . | tr '\n' ' ')"
  fi
  [ -z "$shortcut" ] || [ ! -e "$(dirname "$shortcut")" ] ||
    fail "uninstaller: left the Start-menu folder $(dirname "$shortcut")"
  ! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "uninstaller: left the uninstall entry"
  ! wine reg query "$vendor_key" >/dev/null 2>&1 || fail "uninstaller: left $vendor_key"
  echo "packages: uninstalled ($(elapsed))"
else
  echo "packages: no wine: the Windows packages are not checked"
fi

(cd "$pkgs" && for f in *; do printf 'packages: %9d bytes  %s\n' "$(stat -c %s "$f")" "$f"; done)
if [ "$status" -eq 0 ]; then
  echo "packages: every check passed in $(elapsed)"
else
  echo "packages: FAILURES after $(elapsed)"
fi
exit "$status"
