#!/usr/bin/env bash
# Installs everything the build, the tools and the tests need on Debian 12 (run as root).
# Quick when everything is already there.
set -euo pipefail

pkgs=(
  build-essential cmake ninja-build pkg-config clang-format ccache
  clang libclang-rt-14-dev
  nlohmann-json3-dev libcli11-dev libstb-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcairo2-dev libpango1.0-dev libgdk-pixbuf-2.0-dev libgtk-3-dev libxi-dev libx11-dev
  fonts-liberation fontconfig
  xvfb xdotool x11-apps x11-utils imagemagick xcompmgr weston xwayland dbus-daemon
  python3 python3-pil
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine64
  socat procps psmisc
  dpkg-dev lintian desktop-file-utils appstream nsis unzip file
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
