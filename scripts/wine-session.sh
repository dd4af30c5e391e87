# Sourced by the scripts that run Windows programs: a throwaway Wine prefix copied from the
# prepared one, an Xvfb display (its framebuffer readable for screenshots) and one
# persistent wineserver. `wine_session_stop` ends all of it; callers trap it on EXIT.

TALIVEER_ROOT="${TALIVEER_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
source "$TALIVEER_ROOT/scripts/wine-arch.sh"
TALIVEER_PREFIX_CACHE="${TALIVEER_PREFIX_CACHE:-${HOME}/.cache/taliveer/prefix-${TALIVEER_WINE_ARCH}}"

wine_session_start() {
  local desktop="${1:-}"
  bash "$TALIVEER_ROOT/scripts/prepare-prefix.sh" "$TALIVEER_PREFIX_CACHE"
  TALIVEER_SESSION_DIR="$(mktemp -d /tmp/taliveer-session.XXXXXX)"
  cp -a "$TALIVEER_PREFIX_CACHE" "$TALIVEER_SESSION_DIR/prefix"
  export WINEPREFIX="$TALIVEER_SESSION_DIR/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export TALIVEER_FBDIR="$TALIVEER_SESSION_DIR"

  # Xvfb picks a free display itself and says which once it is ready: a lock file is not
  # enough, since X servers in other mount namespaces (a chroot) share the abstract sockets.
  local display="" i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -fbdir "$TALIVEER_SESSION_DIR" -nolisten tcp \
    3>"$TALIVEER_SESSION_DIR/display" >"$TALIVEER_SESSION_DIR/xvfb.log" 2>&1 &
  TALIVEER_XVFB_PID=$!
  for i in $(seq 1 200); do
    display="$(tr -dc 0-9 <"$TALIVEER_SESSION_DIR/display" 2>/dev/null)"
    [[ -n "$display" ]] && break
    kill -0 "$TALIVEER_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z "$display" ]]; then
    echo "Xvfb did not start:" >&2
    cat "$TALIVEER_SESSION_DIR/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":${display}"

  timeout 60 wineserver -p
  if [[ -n "$desktop" ]]; then
    # Every program of the session runs inside one virtual desktop: windows get no X11
    # toplevel of their own (fast to create and destroy, dialogs stay in front).
    timeout 60 "$TALIVEER_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    timeout 60 "$TALIVEER_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f >/dev/null 2>&1
  fi
}

wine_session_stop() {
  if [[ -n "${WINEPREFIX:-}" ]]; then
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
  fi
  if [[ -n "${TALIVEER_XVFB_PID:-}" ]]; then
    kill "$TALIVEER_XVFB_PID" 2>/dev/null || true
    wait "$TALIVEER_XVFB_PID" 2>/dev/null || true
    TALIVEER_XVFB_PID=
  fi
  if [[ -n "${TALIVEER_SESSION_DIR:-}" && -d "$TALIVEER_SESSION_DIR" ]]; then
    rm -rf "$TALIVEER_SESSION_DIR"
    TALIVEER_SESSION_DIR=
  fi
}
