#!/usr/bin/env bash
# Sets everything up and runs every test: the unit and GUI tests, the same tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the decoder's fuzzer.
# Exits non-zero on any failure. FUZZ_SECONDS sets the fuzzing time (default 60).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh

echo "== Build and tests"
scripts/build.sh build
(cd build && xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure)

echo "== Sanitizer build and tests (address, undefined)"
scripts/build.sh build-asan -DQRB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure)

echo "== Fuzzing the table decoder"
CXX=clang++ scripts/build.sh build-fuzz -DQRB_FUZZ=ON
scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-60}"
echo "All tests passed."
