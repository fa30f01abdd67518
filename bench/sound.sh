#!/usr/bin/env bash
# The sound analysis of a 2-hour film (48 kHz stereo AAC) against the decoding
# floor, `ffmpeg -v error -vn -i FILM -f null -`, on the same film in the same
# run: the two alternate, five rounds, and the medians are compared (wall and
# CPU time of each whole process). Then the rest of the figures: the first ten
# minutes readable, the peaks' memory, the film reopened from the cache,
# cancels, and the strip's columns at every zoom.
# Usage: bench/sound.sh [BUILD_DIR]   (makes the film first if it is missing)
set -euo pipefail
build=${1:-build}
film=$(bash "$(dirname "$0")/make_sound_film.sh" "$build")
probe="$build/bench/korvendal-sound-probe"
rounds=${ROUNDS:-5}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
TIMEFORMAT='%R %U %S'
for i in $(seq 1 "$rounds"); do
  { time ffmpeg -v error -vn -i "$film" -f null - >/dev/null 2>&1; } 2>>"$out.ffmpeg"
  { time "$probe" "$film" analyse >/dev/null 2>&1; } 2>>"$out.ours"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for who in ffmpeg ours; do
  wall=$(awk '{ print $1 }' "$out.$who" | median)
  cpu=$(awk '{ print $2 + $3 }' "$out.$who" | median)
  echo "$who: wall ${wall} s, cpu ${cpu} s (median of $rounds)"
  eval "${who}_wall=$wall ${who}_cpu=$cpu"
done
rm -f "$out.ffmpeg" "$out.ours"
awk -v a="$ours_wall" -v b="$ffmpeg_wall" -v c="$ours_cpu" -v d="$ffmpeg_cpu" \
  'BEGIN { printf "analysis / ffmpeg: wall %.2f, cpu %.2f (target at most 1.2)\n", a / b, c / d }'
"$probe" "$film" report
KORV_SOUND_FILM="$film" "$build/bench/bench_sound"
