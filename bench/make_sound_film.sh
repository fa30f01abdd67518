#!/usr/bin/env bash
# Makes the 2-hour film the sound benchmarks run on, once: a 64x36 picture at
# 1 fps and 48 kHz stereo AAC (128 kb/s) of pink noise, in MKV. It takes
# minutes, so it is kept in the build folder and made again only when missing.
# Usage: bench/make_sound_film.sh BUILD_DIR   (prints the film's path)
set -euo pipefail
build=${1:-build}
film="$build/bench-media/film-2h.mkv"
if [ ! -s "$film" ]; then
  mkdir -p "$(dirname "$film")"
  tmp="$film.part.mkv"
  ffmpeg -v error -y \
    -f lavfi -i "testsrc=size=64x36:rate=1:duration=7200" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=48000:amplitude=0.3:duration=7200,pan=stereo|c0=c0|c1=c0" \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
    -c:a aac -b:a 128k -ar 48000 -ac 2 "$tmp"
  mv "$tmp" "$film"
fi
echo "$film"
