#!/usr/bin/env bash
# Builds in release mode and runs the benchmarks (speed targets of 100,000
# subtitle documents), then times korvendal-subconv against ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TYPE=Release bash scripts/setup.sh
for b in build/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] && "$b" --benchmark_min_time=0.2
done
bash bench/compare_ffmpeg.sh build
bash bench/startup.sh build
bash bench/sound.sh build
