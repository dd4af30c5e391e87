#!/bin/bash
# End to end: the process page of the real program lists a program started beside it and
# drops it within 7 s after it ends; a second program is ended with "结束进程".
# Usage: process_e2e.sh TALIVEER_EXE WINPROBE_EXE SLEEPER_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"
sleeper="$3"

cp "$sleeper" "$out/TalE2ESleeper.exe"
timeout 150 "$TALIVEER_WINE" "$out/TalE2ESleeper.exe" &
sleeper_pid=$!
cp "$sleeper" "$out/TalE2EEnd.exe"
timeout 150 "$TALIVEER_WINE" "$out/TalE2EEnd.exe" &
end_pid=$!
cleanup() {
  probe close >/dev/null 2>&1
  kill "$sleeper_pid" "$end_pid" 2>/dev/null
}
trap cleanup EXIT

start_program
xdotool mousemove $((left + 494)) $((top + 78)) click 1
sleep 1.5
[[ "$(probe front)" == 3 ]] && pass || fail "process page not in front"
rows="$(probe rows 2301 3)"
if grep -q "^TalE2ESleeper.exe	.*TalE2ESleeper.exe	Normal$" <<<"$rows"; then pass; else fail "the sleeper is not listed"; fi
screenshot processes

kill "$sleeper_pid"
wait "$sleeper_pid" 2>/dev/null
ended=$(date +%s%N)
gone=0
for _ in $(seq 1 70); do
  if ! probe rows 2301 3 | grep -q "^TalE2ESleeper.exe	"; then gone=1; break; fi
  sleep 0.1
done
took=$(( ($(date +%s%N) - ended) / 1000000 ))
if [[ $gone == 1 && $took -le 7000 ]]; then pass; else fail "the row is still there ${took} ms after the program ended"; fi
echo "row gone ${took} ms after the program ended"

# Select the second program's row with the mouse, press "结束进程" and answer 是.
row="$(row_index 2301 TalE2EEnd.exe)"
if [[ -n "$row" ]]; then pass; else fail "the second sleeper is not listed"; fi
click_row 2301 "$row"
click_image_button 350
check "the question" '您确定要卸载 "TalE2EEnd.exe" 从内存?' "$(box_text 确认)"
screenshot processes-end-question
press 确认 是
gone=0
for _ in $(seq 1 35); do
  if ! probe rows 2301 1 | grep -qx "TalE2EEnd.exe"; then gone=1; break; fi
  sleep 0.1
done
if [[ $gone == 1 ]]; then pass; else fail "the ended program's row is still there"; fi
# Its process ended (the Wine loader that ran it exits with it).
if timeout 10 tail --pid="$end_pid" -f /dev/null; then pass; else fail "the program still runs"; fi
finish
