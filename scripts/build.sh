#!/usr/bin/env bash
# Configures and builds into build/ (or $ZQ_BUILD_DIR): everything, or only
# the targets named as arguments (scripts/build.sh zqlog).
#
#   scripts/build.sh --program   the program alone, configured without the
#                                tests and the benchmarks, so that only the
#                                program's packages are needed
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZQ_BUILD_DIR:-$top/build}
parts=(-DZQ_BUILD_TESTS=ON -DZQ_BUILD_BENCH=ON)
if [ "${1:-}" = --program ]; then
  parts=(-DZQ_BUILD_TESTS=OFF -DZQ_BUILD_BENCH=OFF)
  set -- zqlog
fi
launcher=()
# A compiler cache, where one is installed, only speeds rebuilds up.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${ZQ_BUILD_TYPE:-RelWithDebInfo}" "${parts[@]}" \
  "${launcher[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
