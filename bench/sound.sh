#!/usr/bin/env bash
# The sound analysis of a 2-hour film (48 kHz stereo AAC) against the decoding
# floor, `ffmpeg -v error -vn -i FILM -f null -`, on the same film in the same
# run: the two alternate, five rounds, and the medians are compared (wall and
# CPU time of each whole process). In the same rounds the analysis with the
# speech features on the same decode and the detector after it, as the
# application runs them (analyse-speech): what speech edges add is its CPU
# time over the plain analysis's. Then the rest of the figures: the first ten
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
  { time "$probe" "$film" analyse-speech >/dev/null 2>&1; } 2>>"$out.speech"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for who in ffmpeg ours speech; do
  wall=$(awk '{ print $1 }' "$out.$who" | median)
  cpu=$(awk '{ print $2 + $3 }' "$out.$who" | median)
  echo "$who: wall ${wall} s, cpu ${cpu} s (median of $rounds)"
  eval "${who}_wall=$wall ${who}_cpu=$cpu"
done
# Round by round, as the machine's load changes between rounds.
added=$(paste "$out.ours" "$out.speech" | awk '{ print ($5 + $6) - ($2 + $3) }' | median)
# And the least of each: on a shared virtual machine a neighbour's load
# inflates a whole round's processor time by up to a third, never lowers it.
least() { sort -n | head -1; }
ours_least=$(awk '{ print $2 + $3 }' "$out.ours" | least)
speech_least=$(awk '{ print $2 + $3 }' "$out.speech" | least)
rm -f "$out.ffmpeg" "$out.ours" "$out.speech"
awk -v a="$ours_wall" -v b="$ffmpeg_wall" -v c="$ours_cpu" -v d="$ffmpeg_cpu" \
  'BEGIN { printf "analysis / ffmpeg: wall %.2f, cpu %.2f (target at most 1.2)\n", a / b, c / d }'
awk -v a="$added" -v b="$ours_cpu" \
  'BEGIN { printf "speech edges add %.3f s cpu (median of the rounds), %.1f%% of the analysis (target at most 10%%)\n", a, 100 * a / b }'
awk -v a="$ours_least" -v b="$speech_least" \
  'BEGIN { printf "least of the rounds: analysis %.3f s cpu, with speech edges %.3f s: they add %.3f s, %.1f%%\n", a, b, b - a, 100 * (b - a) / a }'
"$probe" "$film" report
KORV_SOUND_FILM="$film" "$build/bench/bench_sound"
