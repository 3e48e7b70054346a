# Shell functions of the tests that run the station under a private X server.
# Sourced, not run.

# attendre <seconds> <command...>: polls the command until it succeeds, at most that long.
attendre() {
  local limite=$(( $(date +%s%N) + $1 * 1000000000 )); shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$limite" ] || return 1
    sleep 0.2
  done
}

# demarrer_xvfb <width>x<height> <file>: starts Xvfb on a free display, which it
# writes to the file; sets pid_xvfb and exports DISPLAY. False when Xvfb did not start.
demarrer_xvfb() {
  : > "$2"
  Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp 5>"$2" >/dev/null 2>&1 &
  pid_xvfb=$!
  attendre 20 test -s "$2" || return 1
  export DISPLAY=":$(head -n1 "$2")"
}
