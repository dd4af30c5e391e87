#!/bin/bash
# End to end: the real Taliveer.exe in the Wine session's virtual desktop, driven with the
# mouse through xdotool; window state read with winprobe and from screenshots.
# Usage: main_window_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
# Every point is a point of the layout tables at the session's display scale (px).
source "$(dirname "$0")/lib.sh"
shot() { screenshot "$1"; }
pixel() {  # pixel X Y -> "r,g,b"
  convert "xwd:$TALIVEER_FBDIR/Xvfb_screen0" -format '%[fx:int(255*p{'"$1,$2"'}.r)],%[fx:int(255*p{'"$1,$2"'}.g)],%[fx:int(255*p{'"$1,$2"'}.b)]' info:
}
settle() { sleep "${1:-0.6}"; }

cleanup() {
  probe close >/dev/null 2>&1
  [[ -n "${app:-}" ]] && { sleep 1; kill "$app" 2>/dev/null; }
}
trap cleanup EXIT

timeout 120 "$TALIVEER_WINE" "$exe" >/dev/null 2>&1 &
app=$!
if ! probe wait 60 >/dev/null; then
  echo "FAIL: the window did not appear"
  exit 1
fi
settle 1.5
read -r left top width height <<<"$(probe rect)"
check "window size" "$(px 720)x$(px 540)" "${width}x${height}"
shot start

# The corner pixels are outside the window: the desktop shows through.
desktop="$(pixel 5 1000)"
check "top-left corner shows the desktop" "$desktop" "$(pixel "$left" "$top")"
check "bottom-right corner shows the desktop" "$desktop" "$(pixel $((left + $(px 720) - 1)) $((top + $(px 540) - 1)))"
header="$(pixel $((left + $(px 300))) $((top + $(px 5))))"
[[ "$header" != "$desktop" ]] && passes=$((passes + 1)) || { echo "FAIL: header not drawn"; failures=$((failures + 1)); }
check "autostart page in front" "1" "$(probe front)"

# Drag by the top band.
xdotool mousemove $((left + $(px 300))) $((top + $(px 20))) mousedown 1
for step in 10 20 30 40 50; do xdotool mousemove $((left + $(px 300) + step)) $((top + $(px 20) + step)); sleep 0.05; done
xdotool mouseup 1
settle
read -r left2 top2 _ _ <<<"$(probe rect)"
check "dragged by (50, 50)" "$((left + 50)),$((top + 50))" "$left2,$top2"
left=$left2
top=$top2

# Pressing below the band (the tab strip) does not move the window.
xdotool mousemove $((left + $(px 100))) $((top + $(px 75))) mousedown 1 mousemove $((left + $(px 150))) $((top + $(px 120))) mouseup 1
settle
check "no drag from the tab strip" "$left,$top" "$(probe rect | awk '{print $1","$2}')"

# Tabs: click "卸载" then "关联".
xdotool mousemove $((left + $(px 350))) $((top + $(px 78))) click 1
settle
# The page gathers under the wait box, which takes clicks from the window meanwhile.
probe gone 收集数据 >/dev/null
check "uninstall page in front" "2" "$(probe front)"
check "highlight under tab 2" "$(px 280)" "$(probe child 1004 | awk '{print $1}')"
xdotool mousemove $((left + $(px 638))) $((top + $(px 78))) click 1
settle
check "associations page in front" "4" "$(probe front)"
check "highlight under tab 4" "$(px 568)" "$(probe child 1004 | awk '{print $1}')"
shot tab4

# Hover: the "编辑" button of page 4 lights up, its neighbour then takes over.
xdotool mousemove $((left + $(px $((16 + 350 + 40))))) $((top + $(px $((100 + 394 + 13)))))
settle
check "button lit under the mouse" "1" "$(probe child 2422 | awk '{print $5}')"
shot hover
xdotool mousemove $((left + $(px $((16 + 518 + 40))))) $((top + $(px $((100 + 394 + 13)))))
settle
check "neighbour lit" "1" "$(probe child 2432 | awk '{print $5}')"
check "first back to normal" "0" "$(probe child 2422 | awk '{print $5}')"

# Minimise with "_", then a second start brings the window back and exits with 0.
xdotool mousemove $((left + $(px 672))) $((top + $(px 14))) click 1
settle
check "minimised" "1" "$(probe iconic)"
timeout 60 "$TALIVEER_WINE" "$exe" >/dev/null 2>&1
check "second start exits with 0" "0" "$?"
settle 1
check "restored by the second start" "0" "$(probe iconic)"
shot restored

# The About window from "i", closed by its own "x".
read -r left top _ _ <<<"$(probe rect)"
xdotool mousemove $((left + $(px 643))) $((top + $(px 16))) click 1
has "the About window" "Taliveer" "$(box_text 关于)"
settle
shot about
press 关于 x

# Close with "x": on a fresh profile the Brimley window comes first; "不再显示该窗口" and OK.
settings='HKCU\Software\Corvantis\Taliveer'
program_ended() { ! kill -0 "$app" 2>/dev/null; }
xdotool mousemove $((left + $(px 699))) $((top + $(px 16))) click 1
has "the Brimley window" "现在就下载Brimley!" "$(box_text Brimley)"
check "the main window hidden meanwhile" "0" "$(probe child 1000 | awk '{print $5}')"
settle
shot brimley
click_button Brimley 不再显示该窗口
press Brimley 确定
if wait_until 10 program_ended; then pass; app=; else fail "the close label did not end the program"; fi
if regquery "$settings" /v BrimleyAds | grep -q 0x0; then
  pass
else
  fail "BrimleyAds was not set to false"
fi

# The next exit shows the Ostrelle window; OK with the box clear ends the program.
start_program
xdotool mousemove $((left + $(px 699))) $((top + $(px 16))) click 1
has "the Ostrelle window" "立即下载 Ostrelle!" "$(box_text Ostrelle)"
settle
shot ostrelle
press Ostrelle 确定
if wait_until 10 program_ended; then pass; app=; else fail "the second exit did not end the program"; fi
reg delete "$settings" /v BrimleyAds /f
reg delete "$settings" /v OstrelleAds /f

echo "screenshots in $out"
finish
