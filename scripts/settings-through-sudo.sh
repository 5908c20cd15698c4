# Sourced by the scripts.  sudo starts its command with a fresh
# environment, so in "ZQ_WORK_DIR=~/contest sudo bash scripts/run.sh" the
# folder settings never reach the script.  Started by sudo (its parent is
# sudo, or the monitor process sudo starts it through) and running as root,
# a script takes each setting named that it was not given from the
# environment sudo itself was started with (/proc/<sudo>/environ, which
# root may read).  A setting given through sudo, as in
# "sudo env ZQ_WORK_DIR=~/contest bash scripts/run.sh", is kept as given.
settings_through_sudo() { # NAME...
  [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] || return 0
  [ "$(cat "/proc/$PPID/comm" 2>/dev/null)" = sudo ] && [ -r "/proc/$PPID/environ" ] || return 0
  local entry name
  while IFS= read -r -d '' entry; do
    name=${entry%%=*}
    case " $* " in *" $name "*) ;; *) continue ;; esac
    [ -z "${!name+set}" ] || continue
    export "$entry"
    echo "Taken through sudo: $entry" >&2
  done < "/proc/$PPID/environ"
}
