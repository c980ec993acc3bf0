#!/usr/bin/env bash
# Builds the packages into build/packages/:
#   quelt-control-center_<version>_amd64.deb        Debian package (dependencies: dpkg-shlibdeps)
#   quelt-control-center-<version>-linux-x86_64.tar.gz
#   quelt-control-center-<version>-win64.zip        the exes with GUISkin beside them
#   quelt-control-center-<version>-win64-setup.exe  NSIS installer (/S silent, /D=folder)
# from the trees the presets build (default for Linux, mingw for Windows; the test command has
# built both already, so then only the packing runs). Executables are stripped as they are
# packed. Installs what it needs first (scripts/install-deps.sh).
# QUELT_PACKAGE_WINDOWS=0 leaves out the Windows packages.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build/packages"

bash scripts/install-deps.sh

jobs=$(nproc)
presets=(default)
[ "${QUELT_PACKAGE_WINDOWS:-1}" != 0 ] && presets+=(mingw)

rm -rf "$out"
mkdir -p "$out"
for preset in "${presets[@]}"; do
  echo "=== package: ${preset} tree"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  # cpack's scratch folder stays out of the output folder.
  scratch="$root/build/$preset/_packages"
  rm -rf "$scratch"
  cpack --config "build/$preset/CPackConfig.cmake" -B "$scratch" >"$scratch.log" 2>&1 || {
    cat "$scratch.log"
    echo "package: cpack failed for ${preset}" >&2
    exit 1
  }
  find "$scratch" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.tar.gz' -o -name '*.zip' \
    -o -name '*.exe' \) -exec mv {} "$out/" \;
done

echo "package: $out"
for f in "$out"/*; do
  printf '  %10d  %s\n' "$(stat -c %s "$f")" "$(basename "$f")"
done
