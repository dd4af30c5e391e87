#!/bin/bash
# Builds Taliveer.exe and starts it under Wine. With a display it shows the window; without
# one it starts under Xvfb, writes a screenshot and says where.
#
# With WINEPREFIX set, Taliveer manages that prefix as it is: nothing is added to it. Without
# it, Taliveer runs in a prefix of its own (~/.cache/taliveer/demo-prefix-<arch>), which gets
# a small demo set on its first start: Run entries, a disabled item, Startup shortcuts,
# uninstall records and associations, all named "Demo ...", and two sleeping demo programs
# on every start, so that all four pages show rows.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
own_prefix="${WINEPREFIX:-}"

# What gets installed goes to a log, so that the first line says what it runs on.
mkdir -p build
if ! bash scripts/install-deps.sh run >build/install-deps.log 2>&1; then
  cat build/install-deps.log
  exit 1
fi
grep '^== left out' build/install-deps.log || true
source scripts/platform-line.sh
source scripts/wine-arch.sh
echo "== Taliveer on $(platform_line), $TALIVEER_WINE_ARCH build"
cmake --preset "$TALIVEER_PRESET" -DTALIVEER_TESTS=OFF >/dev/null
cmake --build --preset "$TALIVEER_PRESET" --target Taliveer taliveer_demo
exe="$TALIVEER_BUILD_DIR/Taliveer.exe"
demo="$TALIVEER_BUILD_DIR/taliveer_demo.exe"

# Seeds the demo set into $WINEPREFIX (once) and starts the demo programs.
demo_set() {
  local stamp="$WINEPREFIX/.taliveer-demo-v2"
  if [[ ! -f "$stamp" ]]; then
    timeout 120 "$TALIVEER_WINE" "$demo" seed || { echo "the demo set could not be written" >&2; return 1; }
    touch "$stamp"
  fi
  timeout 60 "$TALIVEER_WINE" "$demo" start || echo "the demo programs did not start" >&2
}

export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
if [[ -n "${DISPLAY:-}" ]]; then
  if [[ -z "$own_prefix" ]]; then
    cache="${TALIVEER_PREFIX_CACHE:-${HOME}/.cache/taliveer/prefix-${TALIVEER_WINE_ARCH}}"
    bash scripts/prepare-prefix.sh "$cache"
    export WINEPREFIX="${HOME}/.cache/taliveer/demo-prefix-${TALIVEER_WINE_ARCH}"
    [[ -d "$WINEPREFIX" ]] || cp -a "$cache" "$WINEPREFIX"
    demo_set
  fi
  echo "Starting $exe in $WINEPREFIX"
  status=0
  "$TALIVEER_WINE" "$exe" || status=$?
  # The demo programs end with the prefix's session; a prefix of the user's is left running.
  [[ -z "$own_prefix" ]] && timeout 30 wineserver -k >/dev/null 2>&1 || true
  exit "$status"
fi

source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start 1280x1024
demo_set
"$TALIVEER_WINE" "$exe" &
# Wine's first start in a fresh prefix copy takes a few seconds.
sleep 8
shot="$root/build/taliveer-screenshot.png"
convert "xwd:$TALIVEER_FBDIR/Xvfb_screen0" "$shot"
echo "No display: Taliveer ran under Xvfb with the demo set; screenshot written to $shot"
