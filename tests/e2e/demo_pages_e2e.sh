#!/bin/bash
# End to end with the demo set that scripts/run.sh puts into a prefix of its own: every page
# shows its demo rows; a screenshot of each page (and of the add dialog) goes to OUT_DIR,
# from where the README's pictures in docs/ are taken. The demo set goes again at the end.
# Usage: demo_pages_e2e.sh TALIVEER_EXE WINPROBE_EXE DEMO_EXE OUT_DIR
# Points are the layout tables' at the session's display scale (px).
source "$(dirname "$0")/lib.sh"
demo="$3"

cleanup() {
  probe close >/dev/null 2>&1
  [[ -n "${app:-}" ]] && { sleep 1; kill "$app" 2>/dev/null; }
  timeout 60 "$TALIVEER_WINE" "$demo" clean >/dev/null 2>&1
}
trap cleanup EXIT

timeout 120 "$TALIVEER_WINE" "$demo" seed >/dev/null 2>&1 || fail "the demo set was not written"
timeout 60 "$TALIVEER_WINE" "$demo" start >/dev/null 2>&1 || fail "the demo programs did not start"
start_program
# The window alone, with the mouse moved off it.
window_shot() {
  xdotool mousemove 5 5
  sleep 0.3
  convert "xwd:$TALIVEER_FBDIR/Xvfb_screen0" -crop "$(px 720)x$(px 540)+${left}+${top}" +repage "$out/$1.png"
}

# Each tab, its list and a row the demo set gave it.
for tab in "1 206 2101 Demo Notes" "2 350 2201 Demo Office Suite" "3 494 2301 DemoClock.exe" \
            "4 638 2401 .demotxt"; do
  read -r page x list row <<<"$tab"
  xdotool mousemove $((left + $(px "$x"))) $((top + $(px 78))) click 1
  shown() { probe rows "$list" 1 | grep -qx -F -- "$row"; }
  wait_until 20 shown || fail "page $page: no row '$row'"
  check "page $page in front" "$page" "$(probe front)"
  sleep 1
  window_shot "page-$page"
done

# The autostart page's rows of every kind.
xdotool mousemove $((left + $(px 206))) $((top + $(px 78))) click 1
sleep 1.5
rows="$(probe rows 2101 1)"
for row in "Demo Notes" "Demo First Run" "Demo Task Watcher" "Demo Updater (32-bit)" "Demo Disabled Helper" \
           "Demo Mines.lnk" "Demo Registry.lnk"; do
  has "autostart row" "$row" "$rows"
done
# The uninstall page lists the machine's records of both views.
xdotool mousemove $((left + $(px 350))) $((top + $(px 78))) click 1
sleep 1.5
rows="$(probe rows 2201 1)"
for row in "Demo Office Suite" "Demo Map Editor (32-bit)" "Demo Photo Viewer"; do
  has "uninstall row" "$row" "$rows"
done
xdotool mousemove $((left + $(px 206))) $((top + $(px 78))) click 1
sleep 1.5
click_image_button 182
box_text 添加到自动启动 >/dev/null || fail "the add dialog did not open"
sleep 1
window_shot dialog-add
press 添加到自动启动 取消
finish
