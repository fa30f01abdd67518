#!/usr/bin/env bash
# Memory of the editor's window with a 100,000-row document open, each
# format in a fresh process (the files made first, by another) (resident set and its peak, from /proc;
# then how much of it is mapped files and anonymous memory, and what the allocator holds).
# Usage: bench/memory.sh [BUILD_DIR]   (QT_QPA_PLATFORM defaults to offscreen)
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home
for format in microdvd subrip webvtt subviewer; do
  "$build/bench/korvendal-memory-probe" --write "$format" "$home/film.$format"
done
for format in microdvd subrip webvtt subviewer; do
  "$build/bench/korvendal-memory-probe" "$home/film.$format"
done
