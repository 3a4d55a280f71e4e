#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# asking apt only for what is missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev libgl-dev
  zlib1g-dev libgtest-dev
  xvfb xauth e2fsprogs fonts-dejavu-core
  zip unzip poppler-utils
  binutils-mingw-w64 cpp
  libglib2.0-bin
  help2man desktop-file-utils appstream dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
