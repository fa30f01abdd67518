#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (as root, or with sudo) and
# builds everything into ./build. Safe to run again: packages already there
# are not fetched twice.
#   --packages-only      install, do not build
#   KORV_EXTRA_PACKAGES  further packages (the fuzz script adds clang)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgtest-dev libbenchmark-dev
  libhunspell-dev hunspell-tr hunspell-en-us qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
  fonts-dejavu-core fonts-liberation libx11-dev xvfb xauth xdotool x11-apps imagemagick ffmpeg
  dpkg-dev file lintian appstream desktop-file-utils man-db
  libavformat-dev libavcodec-dev libavutil-dev
  libfftw3-dev espeak-ng sox
  ${KORV_EXTRA_PACKAGES:-}
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" = "--packages-only" ] && exit 0

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake --build build --parallel
