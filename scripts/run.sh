#!/usr/bin/env bash
# Builds the editor (installing what it needs) and starts it. Arguments go to
# the program (a subtitle file to open, for one).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/korvendal-sub "$@"
