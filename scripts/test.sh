#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
build=${ZQ_BUILD_DIR:-$top/build}
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
