#!/usr/bin/env bash
# Sets up, then builds and runs the whole test suite twice: a plain build, and an
# AddressSanitizer + UndefinedBehaviorSanitizer build in which any sanitizer report fails;
# then a short run of each fuzzer (FUZZ_SECONDS each, default 60; 0 skips it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

bash scripts/build.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")

bash scripts/build.sh build-asan -DKESTRUM_SANITIZE=ON -DKESTRUM_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
log=build-asan/ctest.log
set +e
(cd build-asan && ctest --output-on-failure -j"$(nproc)") 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$log"; then
  echo "test: a sanitizer reported a fault" >&2
  exit 1
fi
[ "$status" -eq 0 ] || exit "$status"

fuzz_seconds=${FUZZ_SECONDS:-60}
if [ "$fuzz_seconds" -gt 0 ]; then
  bash scripts/fuzz-smoke.sh "$fuzz_seconds"
fi
tests=$(grep -oE "out of [0-9]+" "$log" | tail -n 1 | grep -oE "[0-9]+")
echo "test: ${tests:-0} passed, 0 failed"
