#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a short while from the seed pages:
# scripts/fuzz-smoke.sh [SECONDS per target, default 60]. Any crash, hang, leak or
# sanitizer report fails the run; the input that caused it is left in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DKESTRUM_FUZZ=ON -DKESTRUM_TESTS=OFF -DKESTRUM_BENCH=OFF
seeds=build-fuzz/seeds
rm -rf "$seeds" build-fuzz/corpus
build-fuzz/make_fuzz_seeds "$seeds"
mkdir -p build-fuzz/findings
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run() {  # target, seed folder, max input length, dictionary
  local target=$1 corpus=build-fuzz/corpus/$1 log=build-fuzz/$1.log
  mkdir -p "$corpus"
  echo "fuzz: $target for ${seconds}s"
  if ! build-fuzz/"$target" "$corpus" "$2" -max_total_time="$seconds" -max_len="$3" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix=build-fuzz/findings/"$target"- ${4:+-dict="$4"} -print_final_stats=1 > "$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target found a fault; the input is in build-fuzz/findings" >&2
    return 1
  fi
  grep -E "DONE|stat::number_of_executed_units" "$log"
}
run ps_page_fuzz "$seeds/ps" 60000 fuzz/ps.dict
run s2_page_fuzz "$seeds/s2" 20000 fuzz/s2.dict
run eps_document_fuzz "$seeds/eps" 100000 fuzz/ps.dict
run line_scanner_fuzz "$seeds/lines" 1000 fuzz/ps.dict
echo "fuzz: no findings"
