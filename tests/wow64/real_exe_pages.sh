#!/bin/bash
# The shipped 32-bit Taliveer.exe once, as a user starts it, where its code runs emulated: in a
# prefix with the demo set, its window must be shown and each of its four pages, as its own
# keys copy them, must list what the 64-bit build lists in the same prefix. The process page
# leaves out the two programs' own rows.
# Usage (inside the Wine session): real_exe_pages.sh EXE32 WINPROBE64 EXE64 DEMO64 OUT_DIR
source "$(dirname "$0")/../e2e/lib.sh"
exe32="$1"
exe64="$3"
demo="$4"
# The probe and the demo tool are the 64-bit builds': they run natively.
TALIVEER_WINE=/usr/lib/wine/wine64
app=""

stop_program() {
  [[ -n "$app" ]] || return 0
  probe close >/dev/null 2>&1
  local i
  for i in $(seq 1 60); do kill -0 "$app" 2>/dev/null || break; sleep 1; done
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  app=""
}
cleanup() {
  stop_program
  timeout 60 "$TALIVEER_WINE" "$demo" clean >/dev/null 2>&1
}
trap cleanup EXIT

timeout 120 "$TALIVEER_WINE" "$demo" seed >/dev/null 2>&1 || fail "the demo set was not written"
timeout 60 "$TALIVEER_WINE" "$demo" start >/dev/null 2>&1 || fail "the demo programs did not start"

# Another process's memory is out of reach where the program's code runs emulated (the
# emulator's addresses are not the process's), so the rows are read as a user takes them out:
# Ctrl+A and Ctrl+C, then the clipboard, once the list's row count has settled.
key() { xdotool key --delay 60 "$@"; sleep 0.4; }
settled_count() {
  local list="$1" end=$((SECONDS + $2)) before now
  before="$(probe count "$list")"
  while ((SECONDS < end)); do
    sleep 2
    now="$(probe count "$list")"
    [[ -n "$now" && "$now" != 0 && "$now" == "$before" ]] && return 0
    before="$now"
  done
  return 1
}
copied_rows() {
  local list="$1" end=$((SECONDS + $2)) rows clip
  while ((SECONDS < end)); do
    rows="$(probe count "$list")"
    echo -n "nothing" | timeout 10 xclip -selection clipboard
    key ctrl+a
    key ctrl+c
    sleep 1
    clip="$(timeout 10 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')"
    # The caption line, then one line a row.
    if [[ "$clip" != nothing && $(grep -c . <<<"$clip") == $((rows + 1)) ]]; then
      printf '%s\n' "$clip"
      return 0
    fi
  done
  return 1
}

# One build's four pages into OUT_DIR/NAME-page-N.txt: LOADER PROGRAM NAME SECONDS (per step).
pages_of() {
  local loader="$1" program="$2" name="$3" limit="$4" t0=$SECONDS page
  timeout $((limit * 8)) "$loader" "$program" >/dev/null 2>&1 &
  app=$!
  if ! timeout $((limit + 30)) "$TALIVEER_WINE" "$probe" wait "$limit" >/dev/null 2>&1; then
    fail "$name: the window did not appear within $limit s"
    stop_program
    return 1
  fi
  echo "$name: window shown after $((SECONDS - t0)) s"
  read -r left top _ _ <<<"$(probe rect)"
  # A click on the window's caption band makes it the active window for the keys.
  xdotool mousemove $((left + 300)) $((top + 20)) click 1
  for page in 1 2 3 4; do
    key "ctrl+$page"
    front() { [[ "$(probe front)" == "$page" ]]; }
    wait_until "$limit" front || fail "$name: page $page did not come to the front"
    settled_count "$((2001 + 100 * page))" "$limit" || fail "$name: page $page did not settle"
    copied_rows "$((2001 + 100 * page))" "$limit" >"$out/$name-page-$page.txt" || fail "$name: page $page was not copied"
  done
  xdotool mousemove 5 5
  convert "xwd:$TALIVEER_FBDIR/Xvfb_screen0" -crop "720x540+${left}+${top}" +repage "$out/$name-page-4.png" 2>/dev/null
  stop_program
  echo "$name: four pages read in $((SECONDS - t0)) s"
}

pages_of "$TALIVEER_WINE" "$exe64" 64-bit 60
pages_of wine "$exe32" 32-bit 300

own_rows() { grep -v -i -E '^(Taliveer|winprobe)\.exe	'; }
for page in 1 2 3 4; do
  a="$out/64-bit-page-$page.txt"
  b="$out/32-bit-page-$page.txt"
  if [[ $page == 3 ]]; then
    if diff <(own_rows <"$a") <(own_rows <"$b") >"$out/diff-page-$page.txt"; then pass; else fail "page $page differs"; fi
  elif diff "$a" "$b" >"$out/diff-page-$page.txt"; then
    pass
  else
    fail "page $page differs"
  fi
  [[ -s "$out/diff-page-$page.txt" ]] && sed 's/^/  /' "$out/diff-page-$page.txt"
  echo "page $page: $(grep -c . <"$a") rows in the 64-bit build, $(grep -c . <"$b") in the 32-bit build"
done
grep -q 'Demo Notes' "$out/32-bit-page-1.txt" && pass || fail "the 32-bit build lists no demo row on page 1"
finish
