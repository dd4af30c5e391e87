#!/bin/bash
# Prepares a Wine prefix for Taliveer (64-bit prefix, WOW64 for the 32-bit program) with
# CJK font linking, so that the Chinese UI text renders. The prepared prefix is cached and
# reused; pass its path as $1 (default: ~/.cache/taliveer/prefix).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh"

prefix="${1:-${HOME}/.cache/taliveer/prefix-${TALIVEER_WINE_ARCH}}"
stamp="$prefix/.taliveer-ready-v2"
[[ -f "$stamp" ]] && exit 0

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset DISPLAY
timeout 300 "$TALIVEER_WINE" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }

link='wqy-microhei.ttc,WenQuanYi Micro Hei'
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" Arial Verdana; do
  timeout 60 "$TALIVEER_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d "$link" /f /reg:64 >/dev/null 2>&1
  timeout 60 "$TALIVEER_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1
done
timeout 60 wineserver -w || true
touch "$stamp"
