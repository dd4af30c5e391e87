#!/bin/bash
# Builds everything and runs every test: the pure rules natively with sanitizers, then the
# Win32 code, the real program end to end and the benchmarks under Wine, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh

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

echo "== Windows build (mingw-w64 i686) and tests under Wine"
source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start 1280x1024
cmake --preset wine >/dev/null
cmake --build --preset wine
ctest --preset wine --timeout 600

echo "== benchmarks (figures only)"
TALIVEER_SLEEPER="$root/build/wine/tests/sleeper.exe" timeout 900 wine build/wine/bench/taliveer_bench.exe 2>/dev/null | tr -d '\r' || echo "benchmarks did not finish"
