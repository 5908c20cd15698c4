#!/usr/bin/env bash
# Installs what is missing, builds, seeds a working folder with the shipped
# data files (existing files are kept) and starts the logger there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" zqlog # the program alone: the tests are built by scripts/test.sh
build=${ZQ_BUILD_DIR:-$top/build}
work=${ZQ_WORK_DIR:-$top/work}
mkdir -p "$work"
for f in "$top"/data/*; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cd "$work"
exec "$build/zqlog" "$@"
