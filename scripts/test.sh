#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite offscreen, then
# builds the fuzz targets (clang, sanitizers) and runs each over its seed
# corpus (scripts/fuzz.sh --regression).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
build=${ZQ_BUILD_DIR:-$top/build}
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
"$top/scripts/fuzz.sh" --regression
