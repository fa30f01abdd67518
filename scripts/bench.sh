#!/usr/bin/env bash
# Builds in release mode and runs the benchmarks (speed targets of 100,000
# subtitle documents), then times korvendal-subconv against ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TYPE=Release bash scripts/setup.sh
# The two-hour film the film benchmarks read: made once, kept in build/.
bash bench/make_long_film.sh build
for b in build/bench/bench_*; do
  [ "$(basename "$b")" = bench_speech ] && continue
  [ -f "$b" ] && [ -x "$b" ] && "$b" --benchmark_min_time=0.2
done
# Speech edges: accuracy on made sound (five minutes, two seeds a
# condition), then the costs against ffmpeg on a two-hour film.
build/bench/bench_speech
build/bench/bench_speech --speed
bash bench/compare_ffmpeg.sh build
bash bench/startup.sh build
bash bench/memory.sh build
bash bench/sound.sh build
bash bench/compare_film.sh build
