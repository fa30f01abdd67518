#!/usr/bin/env bash
# The film's description as a whole program against ffprobe on the same
# two-hour film, and the first picture against ffmpeg decoding one frame.
# Usage: bench/compare_film.sh BUILD_DIR (after bench/make_long_film.sh BUILD_DIR)
set -euo pipefail
build=${1:-build}
film="$build/bench-films/two-hours.mkv"
[ -s "$film" ] || { echo "no $film: run bash bench/make_long_film.sh $build"; exit 0; }
time_of() { # best of five, in milliseconds
  local best=999999
  for _ in 1 2 3 4 5; do
    local s e
    s=$(date +%s%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s%N)
    local ms=$(( (e - s) / 1000000 ))
    [ "$ms" -lt "$best" ] && best=$ms
  done
  echo "$best"
}
ours=$(time_of "$build/bin/korvendal-subconv" --film-info "$film")
theirs=$(time_of ffprobe -v error -show_format -show_streams "$film")
echo "two-hour film: korvendal-subconv --film-info ${ours} ms, ffprobe -show_format -show_streams ${theirs} ms"
first=$(time_of ffmpeg -v error -i "$film" -frames:v 1 -f null -)
echo "ffmpeg decoding the first picture: ${first} ms"
