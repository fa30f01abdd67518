#!/usr/bin/env bash
# The waveform strip on the 2-hour benchmark film: painting at every zoom, the
# event loop's longest wait while the sound is analysed and the film plays,
# and the memory over a soak of playing, zooming, scrolling and dragging.
# Usage: bench/strip.sh [BUILD_DIR] [SOAK_SECONDS]   (makes the film first if missing)
set -euo pipefail
build=${1:-build}
soak=${2:-600}
film=$(bash "$(dirname "$0")/make_sound_film.sh" "$build")
probe="$build/bench/korvendal-strip-probe"
"$probe" "$film" paint
"$probe" "$film" wait
"$probe" "$film" soak "$soak"
