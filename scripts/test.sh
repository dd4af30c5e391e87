#!/bin/bash
# Builds everything and runs every test: the pure rules natively with sanitizers, then the
# Win32 code, the real program end to end and the benchmarks under Wine, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# What gets installed goes to a log, so that the first line says which build is tested.
mkdir -p build
if ! bash scripts/install-deps.sh >build/install-deps.log 2>&1; then
  cat build/install-deps.log
  exit 1
fi
source scripts/platform-line.sh
forced="${TALIVEER_WINE_ARCH:-}"
source scripts/wine-arch.sh
# Why the 64-bit build stands in for the 32-bit one.
why="this kernel cannot run 32-bit programs"
[[ -n "$forced" ]] && why="TALIVEER_WINE_ARCH=$forced"
# Where the kernel cannot run 32-bit code, the 32-bit build's WoW64-sensitive part runs under
# emulation: in CI and with TALIVEER_EMULATE_32BIT=1, as root (it registers the emulator).
emulate=0
if [[ "$TALIVEER_WINE_ARCH" == i686 ]]; then
  tested="the shipped 32-bit build (i686) under Wine"
elif [[ "${TALIVEER_EMULATE_32BIT:-}" == 0 ]]; then
  tested="a 64-bit build (x86_64) of the same sources alone: $why, and TALIVEER_EMULATE_32BIT=0"
elif [[ -z "${CI:-}" && "${TALIVEER_EMULATE_32BIT:-}" != 1 ]]; then
  tested="a 64-bit build (x86_64) of the same sources alone: $why (TALIVEER_EMULATE_32BIT=1 adds the 32-bit part under emulation)"
elif [[ "$(id -u)" != 0 ]]; then
  tested="a 64-bit build (x86_64) of the same sources alone: $why, and emulating them needs root"
else
  emulate=1
  tested="a 64-bit build (x86_64) of the same sources, plus the shipped 32-bit build's WoW64-sensitive part under emulation ($why)"
fi
tested="$tested; $(platform_line)"
echo "== Taliveer tests: $tested"
grep '^== left out' build/install-deps.log || true
status=0
session=0
finish() {
  local rc=$?
  ((session)) && wine_session_stop
  echo "== Taliveer tests of $tested: $([[ $rc -eq 0 ]] && echo passed || echo "FAILED (exit code $rc)")"
}
trap finish EXIT
# Stopped from outside, the run ends as failed, never as passed.
trap "exit 143" TERM
trap "exit 130" INT

echo "== native build and tests (AddressSanitizer, UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native --timeout 300

echo "== fuzzing the pure rules (libFuzzer, 1,000,000 inputs each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
for target in build/fuzz/tests/*_fuzz; do
  name="$(basename "$target")"
  mkdir -p "build/fuzz/corpus/$name"
  timeout 900 "$target" -runs=1000000 -max_len=512 "build/fuzz/corpus/$name" 2>&1 | tail -n 2
done

echo "== Windows build (mingw-w64) and tests under Wine"
source scripts/wine-session.sh
session=1
wine_session_start 1280x1024
if [[ "$TALIVEER_WINE_ARCH" != i686 ]]; then
  # The shipped 32-bit program and its tests are still built, so that they always compile.
  echo "${why^}: Taliveer.exe is built for 32-bit Windows and tested as a 64-bit build."
  cmake --preset wine -DTALIVEER_TESTS=ON >/dev/null
  cmake --build --preset wine
fi
cmake --preset "$TALIVEER_PRESET" -DTALIVEER_TESTS=ON >/dev/null
cmake --build --preset "$TALIVEER_PRESET"
ctest --preset "$TALIVEER_PRESET" --timeout 600 --output-on-failure || status=$?
# The figures the soak and the malformed-registry gathers print.
grep -h -E '^(soak[ :]|before |after |autostart gather over|uninstall fill over|association fill over)' \
  "$TALIVEER_BUILD_DIR/Testing/Temporary/LastTest.log" | tr -d '\r' || true
# What the tests left running in the session (they should leave nothing of their own).
echo "Windows programs running after the tests:" \
  $(ps -eo args | grep -o -i -E '[A-Za-z]:\\[^ ]*\.exe' | sed 's/.*\\//' | sort | uniq -c | tr -s ' ' | paste -sd, -)
# Under Wine this key moves a 32-bit program's view of HKCU\Software: no test may leave it.
if timeout 60 /usr/lib/wine/wine64 reg query 'HKCU\Software\Wow6432Node' >/dev/null 2>&1; then
  echo "FAIL: the tests left HKCU\Software\Wow6432Node behind"
  status=1
fi
[[ $status -eq 0 ]] || exit "$status"

if ((emulate)); then
  echo "== the shipped 32-bit build's WoW64-sensitive part, under emulation (qemu-i386)"
  bash scripts/test-wow64-emulated.sh || exit 1
fi

echo "== benchmarks (figures only; each in a process of its own, ten minutes in all)"
# A session of their own: nothing the tests did can reach them.
wine_session_stop
wine_session_start 1280x1024
TALIVEER_SLEEPER="$TALIVEER_BUILD_DIR/tests/sleeper.exe" timeout 720 "$TALIVEER_WINE" "$TALIVEER_BUILD_DIR/bench/taliveer_bench.exe" 2>/dev/null | tr -d '\r' || echo "benchmarks did not finish"
# The start-up once more at 150 %, against its floor at that scale.
timeout 180 bash scripts/with-display-scale.sh 144 timeout 150 "$TALIVEER_WINE" \
  "$TALIVEER_BUILD_DIR/bench/taliveer_bench.exe" startup 2>/dev/null | tr -d '\r' || echo "the start-up at 150 % did not finish"
for exe in build/wine/Taliveer.exe build/wine64/Taliveer.exe; do
  if [[ -f "$exe" ]]; then echo "exe size: $exe $(stat -c %s "$exe") bytes"; fi
done
