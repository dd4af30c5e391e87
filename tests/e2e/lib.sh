# Shared by the end-to-end scripts: their arguments, the window probe, checks that count,
# screenshots. Every script is called as SCRIPT TALIVEER_EXE WINPROBE_EXE [...] OUT_DIR and
# needs the Wine session's DISPLAY, WINEPREFIX and TALIVEER_FBDIR.
set -uo pipefail
exe="$1"
probe="$2"
out="${!#}"
mkdir -p "$out"
: "${DISPLAY:?needs the Wine session}" "${WINEPREFIX:?}" "${TALIVEER_FBDIR:?}"
TALIVEER_WINE="${TALIVEER_WINE:-wine}"

# The display scale the session runs at (scripts/with-display-scale.sh says it), and a
# length of the layout tables (96-DPI pixels) at it, rounded as the program rounds.
dpi="${TALIVEER_EXPECTED_DPI:-96}"
px() { echo $(( ($1 * dpi + 48) / 96 )); }

failures=0
passes=0
probe() { timeout 30 "$TALIVEER_WINE" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
pass() { passes=$((passes + 1)); }
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
check() { if [[ "$2" == "$3" ]]; then pass; else fail "$1: expected '$2', got '$3'"; fi; }
has() { if grep -qF -- "$2" <<<"$3"; then pass; else fail "$1: no line with '$2'"; fi; }
lacks() { if grep -qF -- "$2" <<<"$3"; then fail "$1: '$2' is still there"; else pass; fi; }
# The system's own 64-bit reg.exe and registry editor, whatever the build under test: the
# program works in the 64-bit view, and a 32-bit reg.exe would write HKCU\Software into
# HKCU\Software\Wow6432Node once that key exists (a Wine quirk) and HKLM into Wow6432Node.
wine64=/usr/lib/wine/wine64
reg() { timeout 60 "$wine64" reg "$@" >/dev/null 2>&1; }
regquery() { timeout 60 "$wine64" reg query "$@" 2>/dev/null | tr -d '\r'; }
# As a user opens a backup.
restore() { timeout 60 "$wine64" regedit /s "$1" >/dev/null 2>&1; }
# The Undo folder beside the program; remove_new_backups deletes what this script added.
undo_dir="$(dirname "$exe")/Undo"
undo_existed=0
[[ -d "$undo_dir" ]] && undo_existed=1
undo_before="$(ls "$undo_dir" 2>/dev/null)"
new_backups() { comm -13 <(printf '%s\n' "$undo_before" | sort) <(ls "$undo_dir" 2>/dev/null | sort); }
remove_new_backups() {
  local f
  while IFS= read -r f; do [[ -n "$f" ]] && rm -f "$undo_dir/$f"; done < <(new_backups)
  [[ $undo_existed == 0 ]] && rmdir "$undo_dir" 2>/dev/null
  return 0
}
screenshot() { convert "xwd:$TALIVEER_FBDIR/Xvfb_screen0" "$out/$1.png"; }

# Runs the command every half second until it succeeds or the seconds run out.
wait_until() {
  local seconds="$1"
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS >= end)) && return 1
    sleep 0.5
  done
}

# Clicks row ROW of the list view ID (on its caption, or at X pixels into the row).
click_row() {
  local rx ry rw rh
  read -r rx ry rw rh <<<"$(probe rowrect "$1" "$2")"
  [[ -n "$rh" ]] || { fail "no row $2 in list $1"; return 1; }
  xdotool mousemove $((left + rx + ${3:-60})) $((top + ry + rh / 2)) click 1
}

# Index of the first row of list ID whose first cell is TEXT; empty when none.
row_index() {
  probe rows "$1" 1 | grep -n -x -F -- "$2" | head -n 1 | cut -d: -f1 | awk '{print $1 - 1}'
}

# Clicks the caption of the image button whose pictures start at X on the page (182, 350 or
# 518), as the user does.
click_image_button() {
  xdotool mousemove $((left + $(px $((16 + $1 + 83))))) $((top + $(px $((100 + 407))))) click 1
}

# Waits for the box titled TITLE and prints its texts.
box_text() { probe dialog "$1"; }

# Clicks the button CAPTION of the window TITLE, which stays open (it asks something first).
click_button() {
  local bx by
  read -r bx by <<<"$(probe button "$1" "$2")"
  [[ -n "$by" ]] || { fail "no button '$2' in '$1'"; return 1; }
  xdotool mousemove "$bx" "$by" click 1
}

# Presses the button CAPTION of the box TITLE with the mouse; the box closes.
press() {
  local bx by
  read -r bx by <<<"$(probe button "$1" "$2")"
  [[ -n "$by" ]] || { fail "no button '$2' in '$1'"; return 1; }
  xdotool mousemove "$bx" "$by" click 1
  probe gone "$1" >/dev/null || fail "'$1' did not close"
}

# Starts the program and waits for its window; sets $left and $top.
start_program() {
  # Its output goes nowhere: a program it starts (the folder window of the Undo link)
  # would otherwise hold CTest's pipe open after the test.
  timeout 120 "$TALIVEER_WINE" "$exe" >/dev/null 2>&1 &
  app=$!
  probe wait 60 >/dev/null || { echo "FAIL: the window did not appear"; exit 1; }
  sleep 1.5
  read -r left top _ _ <<<"$(probe rect)"
}

finish() {
  echo "e2e: $passes passed, $failures failed"
  [[ $failures -eq 0 ]]
}
