#!/usr/bin/env bash
# scripts/run.sh as the operator meets it, with stand-ins for the package
# tools (dpkg-query, apt-get, sudo) and for cmake, whose "build" leaves a
# stand-in program that notes who started it, where and with what session.
# Checked: which user builds and starts the program, who owns the folders
# it makes, and who is asked to install (nobody when nothing is missing).
#
#   run_script_test.sh SOURCE_DIR CASE
#     as-caller     as whoever runs the test (root in CI: the root path)
#     as-user       as user 65534 (needs root and setpriv)
#     through-sudo  as root with SUDO_USER=nobody, as sudo starts it (needs
#                   root and runuser)
# Exit status 0 passed, 1 failed, 77 skipped (the case cannot be set up).
set -uo pipefail
src=$1
case_=$2
nobody_uid=65534

skip() { echo "SKIPPED: $*"; exit 77; }
failures=0
check() { # check WHAT COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

case $case_ in
  as-caller) ;;
  as-user)
    [ "$(id -u)" -eq 0 ] || skip "only root can run as user $nobody_uid"
    setpriv --reuid=$nobody_uid --regid=$nobody_uid --clear-groups true 2>/dev/null \
      || skip "setpriv cannot switch to user $nobody_uid" ;;
  through-sudo)
    [ "$(id -u)" -eq 0 ] || skip "only root can stand for sudo"
    getent passwd nobody >/dev/null || skip "no user nobody"
    runuser -u nobody -- true 2>/dev/null || skip "runuser cannot switch to nobody" ;;
  *) echo "unknown case $case_"; exit 1 ;;
esac

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
mkdir "$tmp/clone" "$tmp/fakes"
cp -r "$src/scripts" "$src/data" "$tmp/clone/"
calls=$tmp/calls.txt        # one line per stand-in call: uid, tool, arguments
missing=$tmp/missing.txt    # the packages dpkg-query reports missing
touch "$calls" "$missing"
chmod 666 "$calls"

cat > "$tmp/fakes/dpkg-query" <<FAKE
#!/usr/bin/env bash
grep -qx -- "\${@: -1}" "$missing" && exit 1
printf 'install ok installed'
FAKE
cat > "$tmp/fakes/sudo" <<FAKE
#!/usr/bin/env bash
echo "\$(id -u) sudo \$*" >> "$calls"
FAKE
# apt-get installs: the packages named are missing no more.
cat > "$tmp/fakes/apt-get" <<FAKE
#!/usr/bin/env bash
echo "\$(id -u) apt-get \$*" >> "$calls"
[ "\$1" = install ] || exit 0
for p in "\$@"; do sed -i "/^\$p\\\$/d" "$missing"; done
FAKE
cat > "$tmp/fakes/cmake" <<FAKE
#!/usr/bin/env bash
echo "\$(id -u) cmake \$*" >> "$calls"
while [ \$# -gt 0 ]; do
  case \$1 in
    -B) mkdir -p "\$2" ;;
    --build) cp "$tmp/fakes/program" "\$2/zqlog" ;;
  esac
  shift
done
FAKE
cat > "$tmp/fakes/program" <<'FAKE'
#!/usr/bin/env bash
{
  echo "uid=$(id -u)"
  echo "home=$HOME"
  echo "folder=$PWD"
  for v in DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR XAUTHORITY DBUS_SESSION_BUS_ADDRESS; do
    echo "$v=${!v:-}"
  done
  echo "args=$*"
} > started.txt
FAKE
chmod 755 "$tmp/fakes"/*

# A folder anyone may make things in, as /tmp.
space=$tmp/space
mkdir -m 1777 "$space"

# One run of the script: RUN_PREFIX is how it is started; the outcome is in
# $out, $err and $status.
out=$tmp/out.txt
err=$tmp/err.txt
run() {
  : > "$calls"
  rm -rf "$space"/*
  ( cd "$tmp" && "${RUN_PREFIX[@]}" env PATH="$tmp/fakes:$PATH" \
      ZQ_BUILD_DIR="$space/build" ZQ_WORK_DIR="$space/work" "$@" \
      bash "$tmp/clone/scripts/run.sh" --first "two words" ) > "$out" 2> "$err"
  status=$?
  echo "--- status $status; stderr:"; cat "$err"; echo "--- calls:"; cat "$calls"
}
owner() { stat -c %u "$1" 2>/dev/null; }
started() { grep -qx -- "$1" "$space/work/started.txt" 2>/dev/null; }
called() { grep -q -- "$1" "$calls"; }
not() { ! "$@"; }

case $case_ in
  as-caller)
    RUN_PREFIX=(env -u SUDO_USER)
    user_uid=$(id -u) ;;
  as-user)
    RUN_PREFIX=(setpriv --reuid=$nobody_uid --regid=$nobody_uid --clear-groups env -u SUDO_USER)
    user_uid=$nobody_uid ;;
  through-sudo)
    RUN_PREFIX=(env SUDO_USER=nobody SUDO_UID=$nobody_uid)
    user_uid=$(id -u nobody) ;;
esac
runner_uid=$user_uid
[ "$case_" = through-sudo ] && runner_uid=0

echo "=== nothing missing"
run
check "the run ends well" test "$status" -eq 0
check "neither sudo nor apt-get is asked" not called -E " (sudo|apt-get) "
check "nothing is said about installing" not grep -q "Missing packages" "$err"
check "the program is started as uid $user_uid" started "uid=$user_uid"
check "in the working folder" started "folder=$space/work"
check "with the arguments given" started "args=--first two words"
check "the working folder is seeded" test -f "$space/work/county2.txt"
check "the working folder belongs to uid $user_uid" test "$(owner "$space/work")" = "$user_uid"
check "the build folder belongs to uid $user_uid" test "$(owner "$space/build")" = "$user_uid"
check "the build runs as uid $user_uid" not grep -qv "^$user_uid cmake " "$calls"

echo "=== one package missing"
echo fonts-liberation > "$missing"
run
check "the run ends well" test "$status" -eq 0
if [ "$runner_uid" -eq 0 ]; then
  check "root installs with apt-get" called "^0 apt-get install .*fonts-liberation"
  check "without sudo" not called " sudo "
else
  check "the user is told before sudo asks" grep -q "Installing them needs root: asking sudo" "$err"
  check "sudo is asked to install" called "^$runner_uid sudo .*apt-get install .*fonts-liberation"
  check "apt-get never runs as the user" not called "^$runner_uid apt-get"
fi
check "the program is started as uid $user_uid" started "uid=$user_uid"
check "the working folder belongs to uid $user_uid" test "$(owner "$space/work")" = "$user_uid"
: > "$missing"

case $case_ in
  through-sudo)
    echo "=== the caller's session"
    home=$(getent passwd nobody | cut -d: -f6)
    run DISPLAY=:7 WAYLAND_DISPLAY=wayland-7 XDG_RUNTIME_DIR=/run/user/test \
        XAUTHORITY=/run/user/test/xauth DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/test/bus \
        HOME=/root
    check "the run ends well" test "$status" -eq 0
    check "the program is started in the caller's home" started "home=$home"
    for v in DISPLAY=:7 WAYLAND_DISPLAY=wayland-7 XDG_RUNTIME_DIR=/run/user/test \
             XAUTHORITY=/run/user/test/xauth DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/test/bus; do
      check "the program has $v" started "$v"
    done ;;
  as-user)
    echo "=== a working folder left by a run as root"
    rm -rf "$space"/*
    mkdir "$space/work"
    chown 0:0 "$space/work"
    chmod 755 "$space/work"
    : > "$calls"
    ( cd "$tmp" && "${RUN_PREFIX[@]}" env PATH="$tmp/fakes:$PATH" \
        ZQ_BUILD_DIR="$space/build" ZQ_WORK_DIR="$space/work" \
        bash "$tmp/clone/scripts/run.sh" ) > "$out" 2> "$err"
    status=$?
    cat "$err"
    check "the run is refused" test "$status" -ne 0
    check "saying how to give the folder back" grep -q "sudo chown -R nobody: '$space/work'" "$err"
    check "before anything is built" not called " cmake " ;;
esac

echo "$failures failed"
[ "$failures" -eq 0 ]
