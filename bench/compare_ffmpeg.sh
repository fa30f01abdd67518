#!/usr/bin/env bash
# korvendal-subconv --list against ffmpeg converting the same 100,000-subtitle
# file to SubRip, for a SubViewer 2 and a SubRip file.
# Usage: bench/compare_ffmpeg.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/bench_document" --write-sample "$dir/sample.sub" >/dev/null
"$build/bench/bench_document" --write-sample "$dir/sample.srt" subrip >/dev/null
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
for sample in sample.sub sample.srt; do
  ours=$(time_of "$build/bin/korvendal-subconv" --list "$dir/$sample")
  theirs=$(time_of ffmpeg -v error -i "$dir/$sample" -f srt /dev/null)
  echo "$sample: korvendal-subconv --list ${ours} ms, ffmpeg -i FILE -f srt /dev/null ${theirs} ms"
  awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a > 0) printf "  ffmpeg / korvendal-subconv = %.1f\n", b / a }'
done
