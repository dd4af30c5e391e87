#!/bin/bash
# The shipped 32-bit Taliveer.exe once, as a user starts it, where its code runs emulated: in a
# prefix with the demo set, its window must be shown and each of its four pages, read from
# outside, must list what the 64-bit build lists in the same prefix. The process page leaves
# out the two programs' own rows and the probe's.
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

# The rows of list ID once two readings two seconds apart agree, within SECONDS.
settled_rows() {
  local list="$1" end=$((SECONDS + $2)) before now
  before="$(probe rows "$list" 3)"
  while ((SECONDS < end)); do
    sleep 2
    now="$(probe rows "$list" 3)"
    if [[ -n "$now" && "$now" == "$before" ]]; then
      printf '%s\n' "$now"
      return 0
    fi
    before="$now"
  done
  return 1
}

# One build's four pages into OUT_DIR/NAME-page-N.txt: LOADER PROGRAM NAME SECONDS (per step).
pages_of() {
  local loader="$1" program="$2" name="$3" limit="$4" t0=$SECONDS tab page x list
  timeout $((limit * 8)) "$loader" "$program" >/dev/null 2>&1 &
  app=$!
  if ! timeout $((limit + 30)) "$TALIVEER_WINE" "$probe" wait "$limit" >/dev/null 2>&1; then
    fail "$name: the window did not appear within $limit s"
    stop_program
    return 1
  fi
  echo "$name: window shown after $((SECONDS - t0)) s"
  read -r left top _ _ <<<"$(probe rect)"
  for tab in "1 206 2101" "2 350 2201" "3 494 2301" "4 638 2401"; do
    read -r page x list <<<"$tab"
    xdotool mousemove $((left + x)) $((top + 78)) click 1
    front() { [[ "$(probe front)" == "$page" ]]; }
    wait_until "$limit" front || fail "$name: page $page did not come to the front"
    settled_rows "$list" "$limit" >"$out/$name-page-$page.txt" || fail "$name: page $page did not settle"
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
