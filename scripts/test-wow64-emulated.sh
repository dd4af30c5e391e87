#!/bin/bash
# The shipped 32-bit build's WoW64-sensitive part, on a machine whose kernel cannot run 32-bit
# code: qemu-i386 is registered with binfmt_misc for this run only, so that Debian's 32-bit Wine
# loader runs emulated as a WoW64 process of the session's 64-bit prefix (about a minute per
# 32-bit process start; the 64-bit programs it starts run natively), and the tests listed in
# tests/wow64/tests.txt run in the 32-bit build, in one process.
# Called by scripts/test.sh as root inside its Wine session (WINEPREFIX, DISPLAY, TALIVEER_FBDIR);
# prints its own time and a closing line; exit 0 only when every part passed. Then the shipped
# Taliveer.exe itself starts once and its four pages must list what the 64-bit build lists.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
b32="$root/build/wine"
b64="$root/build/wine64"
start=$SECONDS
binfmt=/proc/sys/fs/binfmt_misc
entry="$binfmt/taliveer-i386"
ours=0

unregister() {
  ((ours)) && [[ -e "$entry" ]] && echo -1 >"$entry"
  ours=0
}
trap unregister EXIT

say() { echo "== emulated 32-bit part: $*"; }
qemu=/usr/bin/qemu-i386-static
[[ -x "$qemu" ]] || { say "not run: $qemu is missing"; exit 1; }
if [[ ! -e "$binfmt/register" ]]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" || { say "not run: binfmt_misc cannot be mounted"; exit 1; }
fi
if ! grep -l -s '^interpreter .*qemu-i386' "$binfmt"/* | xargs -r grep -l -x enabled >/dev/null 2>&1; then
  # ELF, 32-bit, little-endian, executable or shared object, machine 3 (i386); F: the emulator
  # is opened now, so that it also serves programs started inside a chroot.
  printf '%s' ':taliveer-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
    >"$binfmt/register" || { say "not run: qemu-i386 could not be registered"; exit 1; }
  ours=1
fi

# A 64-bit prefix made where 32-bit code could not run has no 32-bit system folder: Wine's own
# 32-bit DLLs go there, as its set-up would have put them.
syswow64="$WINEPREFIX/drive_c/windows/syswow64"
if [[ -z "$(ls -A "$syswow64" 2>/dev/null)" ]]; then
  dlls=$(ls -d /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows 2>/dev/null | head -n 1)
  [[ -n "$dlls" ]] || { say "not run: Wine's 32-bit DLLs are not installed"; exit 1; }
  mkdir -p "$syswow64" && cp "$dlls"/* "$syswow64"/
fi

failed=0
# The listed tests, 32-bit, in one process; the programs they start are the 64-bit builds'.
filter=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$root/tests/wow64/tests.txt" | grep . | paste -sd: -)
count=$(grep -c . <<<"${filter//:/$'\n'}")
log="$b32/wow64-tests.log"
t0=$SECONDS
TALIVEER_PROBE_CHILD="$b64/tests/probe_child.exe" TALIVEER_SLEEPER="$b64/tests/sleeper.exe" \
  timeout --kill-after=10 1200 wine "$b32/tests/taliveer_wine_tests.exe" --gtest_filter="$filter" >"$log" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$log" | grep -E '^\[ +(OK|FAILED|PASSED|SKIPPED) +\]|Failure|^\[=+\]' | sed 's/^/  /'
passed=$(tr -d '\r' <"$log" | grep -c '^\[       OK \]')
if ((rc != 0)) || ! tr -d '\r' <"$log" | grep -q '^\[  PASSED  \]'; then
  failed=1
  say "the 32-bit tests FAILED (exit code $rc); the log is $log"
fi
say "$passed tests passed of the $count patterns in tests/wow64/tests.txt, in $((SECONDS - t0)) s"

# The shipped exe once, in the same prefix with the demo set: its pages against the 64-bit build's.
t0=$SECONDS
if ! timeout --kill-after=10 900 bash "$root/tests/wow64/real_exe_pages.sh" "$b32/Taliveer.exe" "$b64/tests/winprobe.exe" \
  "$b64/Taliveer.exe" "$b64/taliveer_demo.exe" "$b32/wow64-pages" </dev/null 2>&1 | sed 's/^/  /'; then
  failed=1
  say "the 32-bit Taliveer.exe's pages FAILED against the 64-bit build's (their rows are in $b32/wow64-pages)"
fi
say "the 32-bit Taliveer.exe shown and its four pages compared in $((SECONDS - t0)) s"

unregister
say "$( ((failed)) && echo FAILED || echo passed) in $((SECONDS - start)) s"
exit "$failed"
