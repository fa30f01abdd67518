#!/usr/bin/env bash
# Makes the two-hour film the film benchmarks describe and open, once, into
# BUILD/bench-films: a 64x36 picture at one frame a second and pink noise as
# 48 kHz stereo AAC, in Matroska and MP4. Cheap to keep, a few minutes to
# make; the test suite never needs it.
set -euo pipefail
build="${1:-build}"
out="$build/bench-films"
mkdir -p "$out"
make_film() {
  local name="$1"; shift
  [ -s "$out/$name" ] && return 0
  ffmpeg -v error -y -f lavfi -i "testsrc=size=64x36:rate=1:duration=7200" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=48000:duration=7200:amplitude=0.2" \
    -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k "$@" "$out/$name.part.${name##*.}"
  mv "$out/$name.part.${name##*.}" "$out/$name"
}
make_film two-hours.mkv
# The MP4 takes the Matroska film's streams as they are.
if [ ! -s "$out/two-hours.mp4" ]; then
  ffmpeg -v error -y -i "$out/two-hours.mkv" -c copy "$out/two-hours.part.mp4"
  mv "$out/two-hours.part.mp4" "$out/two-hours.mp4"
fi
ls -l "$out"
