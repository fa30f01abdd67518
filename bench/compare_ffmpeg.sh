#!/usr/bin/env bash
# korvendal-subconv --list against ffmpeg's SubViewer reader on the same
# 100,000-subtitle file. Usage: bench/compare_ffmpeg.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/bench_document" --write-sample "$dir/sample.sub" >/dev/null
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
ours=$(time_of "$build/bin/korvendal-subconv" --list "$dir/sample.sub")
theirs=$(time_of ffmpeg -v error -i "$dir/sample.sub" -f srt /dev/null)
echo "korvendal-subconv --list: ${ours} ms"
echo "ffmpeg -i FILE -f srt /dev/null: ${theirs} ms"
awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a > 0) printf "ffmpeg / korvendal-subconv = %.1f\n", b / a }'
