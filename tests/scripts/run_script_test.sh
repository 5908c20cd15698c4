#!/usr/bin/env bash
# scripts/run.sh as the operator meets it, with stand-ins for the package
# tools (dpkg-query, apt-get, sudo) and for cmake, whose "build" leaves a
# stand-in program that notes who started it, where and with what session.
# Checked: which user builds and starts the program, who owns the folders
# it makes, who is asked to install (nobody when nothing is missing) and
# what (the program's packages; the test command's tools only for the test
# command), the refusal of folders holding files left by a run as root,
# and the folder settings reaching the script through sudo.
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
# run_as_is leaves the folders as the test made them, run starts empty.
run_as_is() {
  : > "$calls"
  ( cd "$tmp" && "${RUN_PREFIX[@]}" env PATH="$tmp/fakes:$PATH" \
      ZQ_BUILD_DIR="$space/build" ZQ_WORK_DIR="$space/work" "$@" \
      bash "$tmp/clone/scripts/run.sh" --first "two words" ) > "$out" 2> "$err"
  status=$?
  echo "--- status $status; stderr:"; cat "$err"; echo "--- calls:"; cat "$calls"
}
run() {
  rm -rf "$space"/*
  run_as_is "$@"
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

echo "=== the tools of the tests missing"
printf '%s\n' clang libgtest-dev libbenchmark-dev > "$missing"
run
check "the run ends well" test "$status" -eq 0
check "nothing is installed for it" not called -E " (sudo|apt-get) "
check "the program is built without the tests" called "^$user_uid cmake .*-DZQ_BUILD_TESTS=OFF"
check "the program is started" started "uid=$user_uid"
printf '%s\n' clang fonts-liberation > "$missing"
run
check "with a package of the program missing, only that one is installed" \
  called "apt-get install .*fonts-liberation"
check "and not the test tools" not called "apt-get install .*clang"
: > "$missing"

case $case_ in
  as-caller)
    echo "=== the test command installs the tools of the tests"
    cat > "$tmp/fakes/ctest" <<FAKE
#!/usr/bin/env bash
echo "\$(id -u) ctest \$*" >> "$calls"
FAKE
    chmod 755 "$tmp/fakes/ctest"
    printf '#!/usr/bin/env bash\necho "$(id -u) fuzz.sh $*" >> "%s"\n' "$calls" \
      > "$tmp/clone/scripts/fuzz.sh"
    printf '%s\n' clang libgtest-dev fonts-liberation > "$missing"
    : > "$calls"
    ( cd "$tmp" && env -u SUDO_USER PATH="$tmp/fakes:$PATH" ZQ_BUILD_DIR="$space/build" \
        bash "$tmp/clone/scripts/test.sh" ) > "$out" 2> "$err"
    status=$?
    echo "--- status $status; stderr:"; cat "$err"; echo "--- calls:"; cat "$calls"
    check "the test command ends well" test "$status" -eq 0
    check "it installs the tools of the tests with the program's packages" \
      called "apt-get install .*clang.*libgtest-dev\|apt-get install .*fonts-liberation.*clang"
    check "it builds the tests" called " cmake .*-DZQ_BUILD_TESTS=ON"
    check "it runs the suite" called " ctest "
    check "and the fuzz targets over their seeds" called " fuzz.sh --regression"
    : > "$missing" ;;
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
    done

    echo "=== the folder settings through sudo"
    # sudo starts its command with a fresh environment: the settings of
    # the call are only in sudo's own.  The stand-in is a process named
    # sudo, as the real one is, that starts the script without them.
    mkdir "$tmp/sudo"
    cat > "$tmp/sudo/sudo" <<FAKE
#!/bin/bash
env -i PATH="$tmp/fakes:\$PATH" SUDO_USER=nobody SUDO_UID=$nobody_uid "\$@" \
  bash "$tmp/clone/scripts/run.sh" --first "two words"
FAKE
    chmod 755 "$tmp/sudo/sudo"
    through_sudo() { # the settings of the call; then those given to sudo's command
      : > "$calls"
      rm -rf "$space"/*
      local call=()
      while [ "$1" != -- ]; do call+=("$1"); shift; done
      shift
      ( cd "$tmp" && env "${call[@]}" "$tmp/sudo/sudo" "$@" ) > "$out" 2> "$err"
      status=$?
      echo "--- status $status; stderr:"; cat "$err"; echo "--- calls:"; cat "$calls"
    }
    through_sudo ZQ_BUILD_DIR="$space/b1" ZQ_WORK_DIR="$space/w1" --
    check "the run ends well" test "$status" -eq 0
    check "the program is started in the working folder of the call" \
      grep -qx "folder=$space/w1" "$space/w1/started.txt"
    check "as the user" grep -qx "uid=$user_uid" "$space/w1/started.txt"
    check "built in the build folder of the call" test -x "$space/b1/zqlog"
    check "by the user" test "$(owner "$space/b1")" = "$user_uid"
    check "nothing is made in the folders of the clone" \
      eval 'test ! -e "$tmp/clone/work" && test ! -e "$tmp/clone/build"'
    through_sudo ZQ_WORK_DIR="$space/w1" -- ZQ_BUILD_DIR="$space/b2" ZQ_WORK_DIR="$space/w2"
    check "a setting given through sudo is kept" grep -qx "folder=$space/w2" "$space/w2/started.txt"
    check "over the one of the call" test ! -e "$space/w1" ;;
  as-user)
    echo "=== a working folder left by a run as root"
    rm -rf "$space"/*
    mkdir "$space/work"
    chown 0:0 "$space/work"
    chmod 755 "$space/work"
    run_as_is
    check "the run is refused" test "$status" -ne 0
    check "saying how to give the folder back" grep -q "sudo chown -R nobody: '$space/work'" "$err"
    check "before anything is built" not called " cmake "

    echo "=== files left by a run as root in the user's folders"
    # The folders are the user's; the log, the preferences and a file of
    # the build are root's, as a run as root leaves them.
    for files in "work/log.txt work/QSOpref.txt" "build/CMakeCache.txt" \
                 "work/log.txt build/CMakeCache.txt"; do
      rm -rf "$space"/*
      mkdir "$space/work" "$space/build"
      chown $nobody_uid:$nobody_uid "$space/work" "$space/build"
      for f in $files; do
        echo root > "$space/$f"
        chmod 644 "$space/$f"
      done
      folders=()
      for d in build work; do
        case " $files" in *" $d/"*) folders+=("'$space/$d'") ;; esac
      done
      run_as_is
      check "root's $files: the run is refused" test "$status" -ne 0
      check "naming a file of them" grep -qE "$space/(${files// /|})" "$err"
      check "with one line giving back every such folder" \
        grep -qxF "  sudo chown -R nobody: ${folders[*]}" "$err"
      check "before anything is built or started" \
        eval 'not called " cmake " && test ! -e "$space/work/started.txt"'
    done

    echo "=== a lock file left by a run as root"
    # The program judges its lock itself (one of a copy that no longer
    # runs is taken over): no refusal for it.
    rm -rf "$space"/*
    mkdir "$space/work"
    chown $nobody_uid:$nobody_uid "$space/work"
    echo 1 > "$space/work/zqlog.lock"
    run_as_is
    check "the run ends well" test "$status" -eq 0
    check "the program is started" started "uid=$nobody_uid" ;;
esac

echo "$failures failed"
[ "$failures" -eq 0 ]
