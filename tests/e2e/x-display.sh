# Sourced: start_xvfb FIRST [SCREEN] starts a private X server on the first free display from
# FIRST up (screen 1024x768x24 unless SCREEN says otherwise), exports DISPLAY, and leaves the
# server's process id in xvfb_pid. Returns non-zero, with the servers' own words on standard
# error, when no display could be had.
#
# On a machine where no X server has run yet, /tmp/.X11-unix does not exist: two servers
# starting at the same moment both try to make it and one dies. So the folder is made first, as
# the server wants it (sticky and writable by all). Readiness comes from the server itself
# (-displayfd: it writes its display number once it listens, or closes the pipe when it gives
# up), never from a guess of how long a start takes. A server that gave up (another one took its
# display between our look and its start) is tried again on the next display.
start_xvfb() {
  xvfb_display=$1
  xvfb_screen=${2:-1024x768x24}
  mkdir -p /tmp/.X11-unix 2>/dev/null
  chmod 1777 /tmp/.X11-unix 2>/dev/null
  xvfb_scratch=$(mktemp -d /tmp/tastron-xvfb.XXXXXX) || return 1
  mkfifo "$xvfb_scratch/ready" || return 1
  xvfb_pid=""
  for xvfb_try in 1 2 3 4 5 6 7 8 9 10; do
    while [ -e "/tmp/.X11-unix/X$xvfb_display" ] || [ -e "/tmp/.X$xvfb_display-lock" ]; do
      xvfb_display=$((xvfb_display + 1))
    done
    Xvfb ":$xvfb_display" -screen 0 "$xvfb_screen" -nolisten tcp -displayfd 3 \
      3>"$xvfb_scratch/ready" >/dev/null 2>"$xvfb_scratch/server.err" &
    xvfb_pid=$!
    # The bound is for a server that neither listens nor ends, which no start has shown; a cold
    # start takes well under a second.
    xvfb_answer=$(timeout 120 head -n 1 "$xvfb_scratch/ready")
    if [ "$xvfb_answer" = "$xvfb_display" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$xvfb_display"
      rm -rf "$xvfb_scratch"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    echo "Xvfb :$xvfb_display did not start (try $xvfb_try): $(tail -n 1 "$xvfb_scratch/server.err")" >&2
    xvfb_display=$((xvfb_display + 1))
  done
  cat "$xvfb_scratch/server.err" >&2
  rm -rf "$xvfb_scratch"
  xvfb_pid=""
  return 1
}
