#!/usr/bin/env bash
# Installs what is missing, builds, seeds a working folder with the shipped
# data files (existing files are kept) and starts the logger there.
#
# The operator runs it as themselves: only installing needs root, and
# scripts/install-deps.sh asks sudo for that when a package is missing.
# Started through sudo, it installs as root and then builds and runs as the
# user who called sudo, in that user's home and desktop session, so the
# build and working folders, the log and the lock stay that user's.  Run as
# root with no sudo caller (a root shell, CI), everything runs as root.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] \
   && caller_uid=$(id -u "$SUDO_USER" 2>/dev/null) && [ "$caller_uid" -ne 0 ]; then
  # sudo keeps DISPLAY and XAUTHORITY but drops the session's runtime
  # folder (where the sound server and the session bus answer) and the bus
  # address: take them from the caller's session when it has them.
  session=()
  runtime=${XDG_RUNTIME_DIR:-/run/user/$caller_uid}
  if [ -z "${XDG_RUNTIME_DIR:-}" ] && [ -d "$runtime" ]; then
    session+=(XDG_RUNTIME_DIR="$runtime")
  fi
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -S "$runtime/bus" ]; then
    session+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus")
  fi
  cd "$top"
  exec runuser -u "$SUDO_USER" -- env "${session[@]}" bash "$top/scripts/run.sh" "$@"
fi

build=${ZQ_BUILD_DIR:-$top/build}
work=${ZQ_WORK_DIR:-$top/work}
for d in "$build" "$work"; do
  if [ -e "$d" ] && [ ! -w "$d" ]; then
    echo "$d cannot be written by $(id -un) (left by a run as root?): give it back with" >&2
    echo "  sudo chown -R $(id -un): '$d'" >&2
    exit 1
  fi
done
"$top/scripts/build.sh" zqlog # the program alone: the tests are built by scripts/test.sh
mkdir -p "$work"
for f in "$top"/data/*; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cd "$work"
exec "$build/zqlog" "$@"
