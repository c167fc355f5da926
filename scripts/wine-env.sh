# Sourced by the scripts that run Windows programs: one Wine prefix under the
# build folder (created once, ~10 s), one virtual X display, a persistent
# wineserver. Call wine_env_start first and wine_env_stop at the end.
WINE_ROOT=${WINE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}
export WINEPREFIX="$WINE_ROOT/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=${WINE:-wine}

wine_env_start() {
  mkdir -p "$WINE_ROOT"
  if [ -z "${DISPLAY:-}" ] || [ "${VANTREL_OWN_DISPLAY:-1}" = 1 ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix (once)..."
    wineboot -i >/dev/null 2>&1 || true
    # Behave as a current Windows (Wine's prefixes start as Windows 7).
    "$WINE" winecfg -v win10 >/dev/null 2>&1 || true
  fi
  wineserver -p 2>/dev/null || true
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# Linux path of the prefix user's local application-data folder.
wine_local_appdata() {
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/AppData/Local; do
    [ -d "$d" ] && { case "$d" in */Public/*) ;; *) echo "$d"; return;; esac; }
  done
}
