#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang-format
  clang libclang-rt-14-dev llvm
  libeigen3-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libcairo2-dev libpango1.0-dev libglib2.0-dev librsvg2-dev libpng-dev
  libcurl4-openssl-dev libexpat1-dev libsdl2-dev openssl python3
  fonts-dosis fonts-league-spartan xvfb xdotool x11-utils sox imagemagick librsvg2-bin
  xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
