#!/bin/bash
# Runs a command in a copy of the session's Wine prefix whose display scale is DPI (96 is
# 100 %, 144 is 150 %): Wine reads "LogPixels" when its server starts, so the copy gets a
# server of its own, on the same display. With --dark the copy's user has Windows' dark app
# mode. The copy and its server are gone afterwards.
#   with-display-scale.sh DPI [--dark] COMMAND [ARGS...]
set -euo pipefail
dpi="$1"
shift
dark=0
if [[ "${1:-}" == --dark ]]; then
  dark=1
  shift
fi
if [[ -z "${WINEPREFIX:-}" || ! -d "$WINEPREFIX" ]]; then
  echo "with-display-scale.sh: no Wine session (WINEPREFIX)" >&2
  exit 2
fi
wine_cmd="${TALIVEER_WINE:-wine}"
# The system's own 64-bit reg.exe writes the user's keys where every program reads them.
reg_wine=/usr/lib/wine/wine64
[[ -x "$reg_wine" ]] || reg_wine="$wine_cmd"
# Beside the session's prefix, so that the drive can be linked (one file system).
copy="$(mktemp -d "$(dirname "$WINEPREFIX")/scale-$dpi.XXXXXX")"
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
    drive_c) cp -al "$entry" "$copy/prefix/" 2>/dev/null || cp -a "$entry" "$copy/prefix/" ;;
    wineserver) ;;
    *) cp -a "$entry" "$copy/prefix/" ;;
  esac
done
export WINEPREFIX="$copy/prefix"
timeout 60 "$reg_wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
if ((dark)); then
  timeout 60 "$reg_wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
    /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
timeout 30 wineserver -k >/dev/null 2>&1 || true
timeout 30 wineserver -w >/dev/null 2>&1 || true
mode=""
if ((dark)); then mode=", dark app mode"; fi
echo "== display scale: $dpi DPI ($(( (dpi * 100 + 48) / 96 )) %)$mode"
status=0
"$@" || status=$?
exit "$status"
