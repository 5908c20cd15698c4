#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and the address and
# undefined-behaviour sanitizers into build-fuzz/ (or $ZQ_FUZZ_BUILD_DIR),
# then runs them.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]   fuzz one target or each in turn
#                                            for SECONDS (default 60) each
#   scripts/fuzz.sh --regression             run each target over its seed
#                                            corpus and a fixed, short series
#                                            of mutations (seconds, for CI),
#                                            $ZQ_FUZZ_JOBS (default: the
#                                            number of cores) at a time
#   scripts/fuzz.sh --build                  only build every target
#
# TARGET is the name of fuzz/<TARGET>_fuzz.cpp; its seeds are in
# fuzz/corpus/<TARGET>/.  New inputs found while fuzzing go to
# build-fuzz/corpus/<TARGET>/, crashes to build-fuzz/crashes/<TARGET>/;
# the seed corpus is only read.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZQ_FUZZ_BUILD_DIR:-$top/build-fuzz}

mode=fuzz
target=${1:-all}
seconds=${2:-60}
case "$target" in
  --regression) mode=regression; target=all ;;
  --build) mode=build; target=all ;;
esac

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DZQ_BUILD_FUZZ=ON \
  -DCMAKE_BUILD_TYPE="${ZQ_FUZZ_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" >/dev/null

targets=()
for src in "$top"/fuzz/*_fuzz.cpp; do
  [ -e "$src" ] || continue
  name=$(basename "$src" _fuzz.cpp)
  if [ "$target" = all ] || [ "$target" = "$name" ]; then
    targets+=("$name")
  fi
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz target named '$target' (fuzz/${target}_fuzz.cpp)" >&2
  exit 2
fi

# One build of all the targets at once: naming them one by one builds them
# one after another (the generated Makefile takes its goals in turn).
if [ "$target" = all ]; then
  cmake --build "$build" -j"$(nproc)" --target fuzz_all
else
  cmake --build "$build" -j"$(nproc)" --target "${target}_fuzz"
fi
[ "$mode" = build ] && exit 0

# Qt needs no display for the readers; leaks of program-wide owners at exit
# are not findings.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

failed=()
if [ "$mode" = regression ]; then
  # Every seed once, then a fixed series of mutations; nothing is kept.
  # The targets run side by side, each in its own scratch folder with its
  # own log; a failing target's log is shown once all have finished.
  regress() {
    local name=$1 seeds=$top/fuzz/corpus/$1 crashes=$build/crashes/$1 scratch status=0
    mkdir -p "$crashes"
    scratch=$(mktemp -d)
    local dirs=("$scratch")
    [ -d "$seeds" ] && dirs+=("$seeds")
    "$build/fuzz/${name}_fuzz" -seed=1 -runs=2000 -max_total_time=10 -max_len=65536 \
      -artifact_prefix="$crashes/" "${dirs[@]}" >"$build/$name.log" 2>&1 || status=$?
    rm -rf "$scratch"
    echo "$status" >"$build/$name.status"
  }
  jobs_max=${ZQ_FUZZ_JOBS:-$(nproc)}
  echo "== ${#targets[@]} targets, $jobs_max at a time: seeds and up to 2000 mutations (10 s at most) each"
  for name in "${targets[@]}"; do
    rm -f "$build/$name.status"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do wait -n || true; done
    regress "$name" &
  done
  wait
  for name in "${targets[@]}"; do
    status=$(cat "$build/$name.status" 2>/dev/null || echo missing)
    done_line=$(grep -ao 'Done [0-9]* runs in [0-9]* second(s)' "$build/$name.log" | tail -n 1 || true)
    if [ "$status" = 0 ]; then
      echo "== $name: passed (${done_line:-no summary})"
    else
      echo "== $name: FAILED (exit $status), last lines of $build/$name.log:" >&2
      tail -n 40 "$build/$name.log" >&2
      failed+=("$name")
    fi
  done
else
  for name in "${targets[@]}"; do
    seeds=$top/fuzz/corpus/$name
    found=$build/corpus/$name
    crashes=$build/crashes/$name
    mkdir -p "$found" "$crashes"
    dirs=("$found")
    [ -d "$seeds" ] && dirs+=("$seeds")
    echo "== $name: fuzzing for ${seconds}s"
    if ! "$build/fuzz/${name}_fuzz" -max_total_time="$seconds" \
         -artifact_prefix="$crashes/" "${dirs[@]}"; then
      failed+=("$name")
    fi
  done
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failures in: ${failed[*]} (inputs in $build/crashes/)" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} target(s) passed"
