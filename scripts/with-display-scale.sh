#!/bin/bash
# Runs a command in a copy of the session's Wine prefix whose display scale is DPI (96 is
# 100 %, 144 is 150 %): Wine reads "LogPixels" when its server starts, so the copy gets a
# server of its own, on the same display. The copy and its server are gone afterwards.
#   with-display-scale.sh DPI COMMAND [ARGS...]
set -euo pipefail
dpi="$1"
shift
if [[ -z "${WINEPREFIX:-}" || ! -d "$WINEPREFIX" ]]; then
  echo "with-display-scale.sh: no Wine session (WINEPREFIX)" >&2
  exit 2
fi
wine_cmd="${TALIVEER_WINE:-wine}"
copy="$(mktemp -d "${TMPDIR:-/tmp}/taliveer-scale-$dpi.XXXXXX")"
cleanup() {
  WINEPREFIX="$copy/prefix" timeout 30 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$copy/prefix" timeout 30 wineserver -w >/dev/null 2>&1 || true
  rm -rf "$copy"
}
trap cleanup EXIT
trap "exit 143" TERM
trap "exit 130" INT

# The drive is linked, not copied (1.3 GB that nothing here writes to); the registry and
# the server's state are the copy's own.
mkdir -p "$copy/prefix"
for entry in "$WINEPREFIX"/* "$WINEPREFIX"/.[!.]*; do
  [[ -e "$entry" ]] || continue
  name="$(basename "$entry")"
  case "$name" in
    drive_c) cp -al "$entry" "$copy/prefix/" ;;
    wineserver) ;;
    *) cp -a "$entry" "$copy/prefix/" ;;
  esac
done
export WINEPREFIX="$copy/prefix"
timeout 60 "$wine_cmd" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
timeout 30 wineserver -k >/dev/null 2>&1 || true
timeout 30 wineserver -w >/dev/null 2>&1 || true
echo "== display scale: $dpi DPI ($(( (dpi * 100 + 48) / 96 )) %)"
status=0
"$@" || status=$?
exit "$status"
