# Sourced after wine-session.sh by every Wine run that checks: a failure count, ui-probe.exe
# called as a command, bounded waits for a condition or a process, screenshots, and the last
# line. Nothing here waits for a fixed time: every wait is for a condition, with a bound.

failed=0
# fail TEXT...: one failed check, said at once; the run goes on and fails at its end.
fail() {
  printf "FAIL %s\n" "$*"
  failed=$((failed + 1))
}

# How Wine runs the probe (a run with its own locale says otherwise after sourcing this). Each
# of the probe's own waits is bounded by its argument; this bound is for a probe that Wine left
# hanging (a message sent to a window that no longer answers), said on standard error.
probe_run() {
  timeout --foreground 120 "$WINE" "$@"
  probe_run_status=$?
  [ "$probe_run_status" -eq 124 ] && echo "ui-probe $2 gave no answer within 120 s" >&2
  return "$probe_run_status"
}
# The probe's own exit status (whether it found what it looked for), not that of a filter after
# it; Wine's carriage returns dropped.
probe() {
  probe_output=$(probe_run "$BIN/ui-probe.exe" "$@")
  probe_status=$?
  [ -n "$probe_output" ] && printf "%s\n" "$probe_output" | tr -d '\r'
  return $probe_status
}
# The same where only the exit status counts.
probe_ok() { probe_run "$BIN/ui-probe.exe" "$@" >/dev/null; }

# until_true SECONDS COMMAND...: whether COMMAND succeeds within that time (tried every 0.1 s).
until_true() {
  limit=$(($1 * 10))
  shift
  waited=0
  until "$@"; do
    [ "$waited" -ge "$limit" ] && return 1
    sleep 0.1
    waited=$((waited + 1))
  done
}
# finished PID SECONDS: whether the process ended within that time; its exit code in $code.
finished() {
  until_true "$2" eval "! kill -0 $1 2>/dev/null" || return 1
  wait "$1"
  code=$?
  return 0
}

shots=$root/build/screenshots
mkdir -p "$shots"
# screenshot TITLE-PREFIX FILE: the window as the screen shows it, into build/screenshots.
screenshot() {
  probe wait-drawn "$1" 10000 || fail "$1 was not drawn for its screenshot"
  area=$(probe rect "$1")
  import -window root "$session_folder/screen.png" 2>/dev/null &&
    convert "$session_folder/screen.png" -crop "$area" +repage "$shots/$2" 2>/dev/null ||
    fail "no screenshot of $1"
}

# all_passed TEXT: the run's last line; says TEXT and succeeds when no check failed.
all_passed() {
  [ "$failed" -eq 0 ] && echo "$1"
  [ "$failed" -eq 0 ]
}
