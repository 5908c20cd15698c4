#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing, skipping the package
# lists when everything is already present.  Only installing needs root:
# run by a user, it says what is missing and installs it through sudo; with
# nothing missing it asks for nothing.
#
#   scripts/install-deps.sh           what the program's build and the
#                                     program need (scripts/run.sh)
#   scripts/install-deps.sh --tests   that and the tools of the tests, the
#                                     benchmarks and the fuzz targets
#                                     (scripts/test.sh)
set -euo pipefail
packages=(cmake g++ make pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-multimedia-dev
          libqt6opengl6-dev libgl-dev
          fonts-dejavu-core fonts-liberation)
with_tests=
if [ "${1:-}" = --tests ]; then
  with_tests=" --tests"
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing packages: ${missing[*]}." >&2
    echo "Installing them needs root and sudo is not set up here: run" >&2
    echo "  su -c 'bash \"$(cd "$(dirname "$0")" && pwd)/$(basename "$0")\"$with_tests'" >&2
    echo "once, then this command again." >&2
    exit 1
  fi
  echo "Missing packages: ${missing[*]}." >&2
  echo "Installing them needs root: asking sudo." >&2
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
