#!/usr/bin/env bash
# The editor's start as a user meets it: a fresh process, to the main window
# shown and idle, with an empty HOME (no settings, no media framework cache:
# a user's very first start), beside the shipped language files of a program
# that ran before. Prints the median of 11 starts in milliseconds.
# Usage: bench/startup.sh [BUILD_DIR]   (QT_QPA_PLATFORM defaults to offscreen)
set -euo pipefail
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/program"
cp -r "$build/bin/Language" "$build/bin/Help" "$dir/program/"
cp "$build/bench/korvendal-sub-startup" "$dir/program/"
printf '1\r\n' >"$dir/program/set.cfg"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
times=()
for i in $(seq 1 11); do
  home="$dir/home$i"
  mkdir -p "$home"
  s=$(date +%s%N)
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_DATA_HOME=$home/.local/share \
    XDG_RUNTIME_DIR=$home "$dir/program/korvendal-sub-startup" >/dev/null 2>&1
  e=$(date +%s%N)
  times+=($(( (e - s) / 1000000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 6p)
echo "start to the main window shown and idle, empty HOME: ${median} ms (median of 11: ${times[*]})"
