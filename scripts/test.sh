#!/usr/bin/env bash
# Builds everything (installing what it needs) and runs every test. Needs no
# display: the tests use Qt's offscreen platform or start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd build
ctest --output-on-failure --parallel 2 "$@"
