#!/usr/bin/env bash
# Configures and builds into build/ (or $ZQ_BUILD_DIR): everything, or only
# the targets named as arguments (scripts/build.sh zqlog).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZQ_BUILD_DIR:-$top/build}
launcher=()
# A compiler cache, where one is installed, only speeds rebuilds up.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${ZQ_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
