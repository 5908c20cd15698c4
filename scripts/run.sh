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
# The folder settings ZQ_BUILD_DIR and ZQ_WORK_DIR reach it through sudo
# (scripts/settings-through-sudo.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/settings-through-sudo.sh"
settings_through_sudo ZQ_BUILD_DIR ZQ_WORK_DIR
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
# A run as root in the same folders (a root shell, CI) leaves folders and
# files the user may not write: the build would fail on them, and the
# program would refuse every contact.  Refused here, before anything is
# built, with the command that gives them back.  The lock file is the
# program's own to judge: one left by a copy that no longer runs is taken
# over.
user=$(id -un)
taken=()
for d in "$build" "$work"; do
  [ -e "$d" ] || continue
  f=$(find "$d" ! -type l ! -writable ! -path "$work/zqlog.lock" -print -quit 2>/dev/null || true)
  [ -n "$f" ] || continue
  taken+=("$d")
  if [ "$f" = "$d" ]; then
    echo "$d cannot be written by $user (left by a run as root?)." >&2
  else
    echo "$f (and maybe more in $d) cannot be written by $user (left by a run as root?)." >&2
  fi
done
if [ ${#taken[@]} -gt 0 ]; then
  echo "Give it back with" >&2
  printf '  sudo chown -R %s:' "$user" >&2
  printf " '%s'" "${taken[@]}" >&2
  echo >&2
  exit 1
fi
"$top/scripts/build.sh" --program # the tests are built by scripts/test.sh
mkdir -p "$work"
for f in "$top"/data/*; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cd "$work"
exec "$build/zqlog" "$@"
