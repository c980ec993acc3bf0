# Throwaway wine prefix for running the Windows build. Source this file, then:
#   quelt_wine_setup                 new 64-bit prefix, registry values, persistent wineserver;
#                                    installs an EXIT trap that undoes everything started here
#   quelt_wine_track_pid PID         have the trap end PID too (e.g. a pty responder)
#   quelt_wine_map_ports 3=/pty ...  map COM numbers to device paths (restarts the wineserver)
#   quelt_wine_cleanup               what the trap runs: ends tracked PIDs, the wineserver, and
#                                    removes the prefix
# Needs bash. Measured here: wineboot -i takes 6-15 s; with the server kept alive each exe
# starts in ~30 ms.

QUELT_WINE_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
QUELT_WINE_PIDS=()
QUELT_WINE_OWNED_PREFIX=""

quelt_wine_log() { echo "[wine] $*" >&2; }

# Starts (or restarts) this prefix's wineserver so that it stays up between test exes.
quelt_wine_start_server() {
  # Its output is not ours: a server left holding a caller's pipe would keep ctest waiting.
  wineserver -p 60 </dev/null >/dev/null 2>&1
  # The first wine process of a prefix starts the device services that create the COM devices.
  wine cmd /c exit 0 >/dev/null 2>&1 || true
}

quelt_wine_stop_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

quelt_wine_import_reg() {
  local file=$1
  wine reg import "$file" >/dev/null 2>&1 || {
    quelt_wine_log "registry import of $file failed"
    return 1
  }
}

quelt_wine_setup() {
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX
  WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/quelt-wine.XXXXXX")"
  QUELT_WINE_OWNED_PREFIX="$WINEPREFIX"
  trap quelt_wine_cleanup EXIT
  trap 'exit 130' INT TERM

  wineboot -i >/dev/null 2>&1 || {
    quelt_wine_log "wineboot -i failed"
    return 1
  }
  local reg="$WINEPREFIX/quelt-base.reg"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
  quelt_wine_import_reg "$reg"
  quelt_wine_stop_server
  quelt_wine_start_server
  export QUELT_WINE_READY=1
}

# quelt_wine_map_ports 3=/abs/path 12=/abs/path ...
quelt_wine_map_ports() {
  local reg="$WINEPREFIX/quelt-ports.reg" entry
  {
    echo "REGEDIT4"
    echo
    echo "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]"
    for entry in "$@"; do
      echo "\"COM${entry%%=*}\"=\"${entry#*=}\""
    done
  } >"$reg"
  quelt_wine_import_reg "$reg"
  # The COM devices are created when the prefix's services start.
  quelt_wine_stop_server
  quelt_wine_start_server
}

quelt_wine_track_pid() { QUELT_WINE_PIDS+=("$1"); }

quelt_wine_cleanup() {
  local pid
  for pid in "${QUELT_WINE_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  QUELT_WINE_PIDS=()
  if [ -n "$QUELT_WINE_OWNED_PREFIX" ]; then
    WINEPREFIX="$QUELT_WINE_OWNED_PREFIX" quelt_wine_stop_server
    rm -rf "$QUELT_WINE_OWNED_PREFIX"
    QUELT_WINE_OWNED_PREFIX=""
  fi
}
