# shellcheck shell=bash
# Throwaway wine prefix for running the Windows build. Source this file, then:
#   quelt_wine_setup [--display]
#                              new 64-bit prefix, registry values, persistent wineserver;
#                              installs an EXIT trap that undoes everything started here.
#                              --display: when DISPLAY is unset, start an Xvfb for the windows
#   quelt_wine_track_pid PID   have the trap end PID too (e.g. a pty peer or a box simulator)
#   quelt_wine_cleanup         what the trap runs: ends tracked PIDs, the wineserver, and removes
#                              the prefix
# COM1 to COM14 of the prefix are the entries COM1 to COM14 of the folder $QUELT_WINE_PORT_DIR
# (links to ptys, as quelt-boxsim and serial-rig.py make them; the Linux build reads the same
# folder through QUELT_PORT_DIR). A missing entry is a port that does not exist, and the host's
# own serial devices land above COM14, out of the probed range.
# Needs bash. Measured here: wineboot -i takes 6-15 s; with the server kept alive each exe
# starts in ~30 ms.

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
  # The COM devices are created from the registry when the prefix's services next start.
  wine reg import "$file" >/dev/null 2>&1 || {
    quelt_wine_log "registry import of $file failed"
    return 1
  }
}

# Starts an Xvfb on a free display number when no display is set.
quelt_wine_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  command -v Xvfb >/dev/null || {
    quelt_wine_log "no Xvfb: windows cannot be created"
    return 0
  }
  local number_file="$WINEPREFIX/display-number" pid
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number_file" </dev/null >/dev/null 2>&1 &
  pid=$!
  quelt_wine_track_pid "$pid"
  for _ in $(seq 200); do
    if [ -s "$number_file" ]; then
      DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
      export DISPLAY
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  quelt_wine_log "Xvfb did not start"
  return 1
}

quelt_wine_setup() {
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX
  WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/quelt-wine.XXXXXX")"
  QUELT_WINE_OWNED_PREFIX="$WINEPREFIX"
  export QUELT_WINE_PORT_DIR="$WINEPREFIX/ports"
  mkdir -p "$QUELT_WINE_PORT_DIR"
  trap quelt_wine_cleanup EXIT
  trap 'exit 130' INT TERM
  if [ "${1:-}" = --display ]; then
    quelt_wine_start_display || return 1
  fi

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
  local n
  {
    echo
    echo "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]"
    for n in $(seq 1 14); do
      echo "\"COM$n\"=\"$QUELT_WINE_PORT_DIR/COM$n\""
    done
  } >>"$reg"
  quelt_wine_import_reg "$reg"
  quelt_wine_stop_server
  quelt_wine_start_server
  export QUELT_WINE_READY=1
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
