#!/usr/bin/env bash
# Builds the Debian package build/korvendal-sub_<version>_amd64.deb: installs
# what the build needs, builds into ./build as run.sh and test.sh do, then
# has CPack's DEB generator install the programs and their files under /usr
# and pack them, with the dependencies dpkg-shlibdeps finds in the programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd build
cpack -G DEB
ls -l "$PWD"/korvendal-sub_*_amd64.deb
