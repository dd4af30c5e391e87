#!/bin/bash
# End to end: the process page of the real program lists a program started beside it and
# drops it within 7 s after it ends.
# Usage: process_e2e.sh TALIVEER_EXE WINPROBE_EXE SLEEPER_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"
sleeper="$3"

cp "$sleeper" "$out/TalE2ESleeper.exe"
timeout 150 "$TALIVEER_WINE" "$out/TalE2ESleeper.exe" &
sleeper_pid=$!
cleanup() {
  probe close >/dev/null 2>&1
  kill "$sleeper_pid" 2>/dev/null
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
finish
