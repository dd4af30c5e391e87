#!/bin/bash
# Runs a Windows program under Wine for CTest. The caller's environment names the prefix
# (WINEPREFIX) and display; every run is bounded in time.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
if [[ -z "${WINEPREFIX:-}" ]]; then
  echo "wine-run.sh: WINEPREFIX is not set" >&2
  exit 2
fi
exec timeout --kill-after=10 "${TALIVEER_WINE_TIMEOUT:-600}" "${TALIVEER_WINE:-wine}" "$@"
