#!/usr/bin/env bash
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into ./build-fuzz and runs each for a fixed time on its seed corpus from
# fuzz/corpus (new inputs it finds go to build-fuzz/corpus, not the repository).
#   FUZZ_SECONDS  seconds per fuzzer (default 300)
#   FUZZ_RUNS     executions per fuzzer instead (the campaign: 10000000)
#   FUZZ_TARGETS  which ones (default: detect subviewer microdvd subrip webvtt language avi)
#   FUZZ_MAXLEN   the longest input in bytes (default 4096, libFuzzer's own)
# A crash, hang, leak, sanitizer report or broken property stops that fuzzer
# and leaves its input in build-fuzz/artifacts; the script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
KORV_EXTRA_PACKAGES="clang libclang-rt-14-dev" bash scripts/setup.sh --packages-only

cmake -S . -B build-fuzz -G Ninja -DKORV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz --parallel

seconds=${FUZZ_SECONDS:-300}
limit=-max_total_time=$seconds
[ -n "${FUZZ_RUNS:-}" ] && limit=-runs=$FUZZ_RUNS
targets=${FUZZ_TARGETS:-detect subviewer microdvd subrip webvtt language avi}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p build-fuzz/artifacts
failed=()
for t in $targets; do
  mkdir -p "build-fuzz/corpus/$t"
  log="build-fuzz/fuzz_$t.log"
  echo "== fuzz_$t ($limit)"
  if ! build-fuzz/fuzz/fuzz_$t "$limit" -timeout=10 -rss_limit_mb=2048 \
      -max_len="${FUZZ_MAXLEN:-4096}" -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/${t}-" \
      "build-fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    failed+=("$t")
    tail -n 40 "$log"
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|cov:' "$log" | tail -n 4 || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzers that found a fault: ${failed[*]} (inputs in build-fuzz/artifacts)"
  exit 1
fi
echo "every fuzzer ran ($limit) without a fault"
