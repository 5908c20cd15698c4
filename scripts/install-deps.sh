#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# skipping the package lists when everything is already present.
set -euo pipefail
packages=(cmake g++ make pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-multimedia-dev
          libqt6opengl6-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core fonts-liberation
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
