#!/usr/bin/env bash
# Installs what is missing (the tools of the tests as well), builds, runs
# the whole test suite offscreen, then builds the fuzz targets (clang,
# sanitizers) and runs each over its seed corpus (scripts/fuzz.sh
# --regression).
#
#   scripts/test.sh --sanitize   builds program and tests with the address
#                                and undefined-behaviour sanitizers into
#                                build-asan/ (or $ZQ_ASAN_BUILD_DIR) and runs
#                                the whole suite there with leak detection
#                                (suppressions: scripts/lsan.supp)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --tests
export QT_QPA_PLATFORM=offscreen

if [ "${1:-}" = "--sanitize" ]; then
  build=${ZQ_ASAN_BUILD_DIR:-$top/build-asan}
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$top" -B "$build" -DZQ_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE="${ZQ_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" >/dev/null
  # Building runs each test program once to list its tests: no leak
  # report then, the programs only list.
  ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j"$(nproc)"
  export ASAN_OPTIONS=detect_leaks=1
  export LSAN_OPTIONS=suppressions=$top/scripts/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$build" && ctest --output-on-failure -j"${ZQ_TEST_JOBS:-$(nproc)}" --timeout 600)
  exit
fi

"$top/scripts/build.sh"
build=${ZQ_BUILD_DIR:-$top/build}
(cd "$build" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
"$top/scripts/fuzz.sh" --regression
