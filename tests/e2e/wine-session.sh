# Sourced by the e2e scripts: a private X display (when there is none) and a fresh Wine prefix,
# both gone when the script ends. Sets WINE, BIN and TOOL_FOLDER (C:\Tastron in the prefix).
# TASTRON_ARCH chooses the build: x86 (build/x86/bin, what we ship; the default) or x64
# (build/x64/bin). One prefix runs both: it is 64-bit Windows with its 32-bit half.
root=$(cd "$(dirname "$0")/../.." && pwd)
export TASTRON_ARCH="${TASTRON_ARCH:-x86}"
case "$TASTRON_ARCH" in
x86) BIN=$root/build/x86/bin ;;
x64) BIN=$root/build/x64/bin ;;
*)
  echo "TASTRON_ARCH is \"$TASTRON_ARCH\": x86 or x64" >&2
  exit 2
  ;;
esac
WINE=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Korean arguments reach Windows programs intact only from a UTF-8 locale.
export LANG=C.UTF-8

session_xvfb=""
session_folder=$(mktemp -d /tmp/tastron-wine.XXXXXX)
export WINEPREFIX=$session_folder/prefix
# A playback device without a sound card: ALSA's default device is its null plugin. Tastron
# opens the volume controls at start; without a device ALSA complains on every run.
printf 'pcm.!default {\n    type null\n}\n' >"$session_folder/null-pcm.conf"
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$session_folder/null-pcm.conf

end_session() {
  WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$session_xvfb" ] && kill "$session_xvfb" 2>/dev/null
  rm -rf "$session_folder"
}
# A stopped script (run-suite's bound for a hang) ends there: its prefix is gone.
trap end_session EXIT
trap 'exit 1' INT TERM

if [ ! -x "$BIN/scenario-driver.exe" ]; then
  make -C "$root" windows >&2 || exit 1
fi

if [ -z "${DISPLAY:-}" ]; then
  . "$root/tests/e2e/x-display.sh"
  start_xvfb 90 || exit 1
  session_xvfb=$xvfb_pid
fi

# A prefix prepared once for a whole run (make e2e prepares one with tests/e2e/wine-template)
# is copied: the same fresh prefix in a second instead of a boot of fifteen.
. "$root/tests/e2e/wine-prefix.sh"
if [ -n "${TASTRON_WINE_TEMPLATE:-}" ] && [ -f "$TASTRON_WINE_TEMPLATE/system.reg" ]; then
  cp -a "$TASTRON_WINE_TEMPLATE" "$WINEPREFIX"
else
  boot_prefix "$session_folder"
fi
TOOL_FOLDER=$WINEPREFIX/drive_c/Tastron
mkdir -p "$TOOL_FOLDER"
cp "$BIN/devicetool-standin.exe" "$TOOL_FOLDER/dc64.exe"

# The standard error the script was started with: a replay is told there, whatever the caller
# does with the driver's own.
exec 9>&2

# run_driver SCRIPT [OPTIONS]: the Wine trace of one script on standard output. The driver runs
# under exit-watch, which sees its whole exit code: a driver that hangs (a hook call that never
# returns) is stopped after two minutes (exit code 124), one that an exception ended exits 125,
# each with its words on standard error; both are faults of ours and are never played again.
# The exit code is also left in driver_status, for the message of a failure. A driver that ends
# non-zero without a word from it, from exit-watch or from Wine is Wine itself going down under
# it (seen once in some hundreds of runs): the script is played once more, and the replay is
# written to TASTRON_REPLAY_LOG (run-suite lists them and fails on more than one). A second
# failure is the caller's.
#
# A NAME.code-page file beside the script gives the system's ANSI code page. Wine takes it from
# the Unix locale: 949 from ko_KR.UTF-8 (compiled for the session when the system has none),
# 1252 from the session's own C.UTF-8. UTF-8 (65001) Wine cannot be given at all (nor through
# the registry's ACP value): such a script is refused here.
run_driver() {
  script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  shift
  code_page=1252
  [ -f "${script%.script}.code-page" ] && code_page=$(cat "${script%.script}.code-page")
  case $code_page in
  1252) set -- env "$WINE" "$BIN/exit-watch.exe" 120 "$BIN/scenario-driver.exe" "Z:$script" "$@" ;;
  949)
    korean_locale || return 2
    set -- env $korean_locale_env "$WINE" "$BIN/exit-watch.exe" 120 "$BIN/scenario-driver.exe" \
      "Z:$script" "$@"
    ;;
  *)
    echo "$(basename "$script"): Wine cannot run with code page $code_page (1252 or 949)" >&2
    return 2
    ;;
  esac
  for attempt in 1 2; do
    # The outer bound is for a watcher that Wine left hanging.
    timeout 150 "$@" \
      >"$session_folder/driver.out" 2>"$session_folder/driver.err"
    driver_status=$?
    case $driver_status in
    0 | 124 | 125) break ;;
    esac
    if [ -s "$session_folder/driver.err" ] || [ "$attempt" -eq 2 ]; then break; fi
    replay="the Wine driver ended without a word (exit code $driver_status) after"
    replay="$replay $(wc -l <"$session_folder/driver.out") trace lines; played again"
    echo "$(basename "$script"): $replay" >&9
    [ -n "${TASTRON_REPLAY_LOG:-}" ] && echo "$TASTRON_ARCH $script: $replay" >>"$TASTRON_REPLAY_LOG"
  done
  [ "$driver_status" -eq 124 ] && [ ! -s "$session_folder/driver.err" ] &&
    echo "$(basename "$script"): the Wine driver did not end within 150 s" >"$session_folder/driver.err"
  cat "$session_folder/driver.out"
  cat "$session_folder/driver.err" >&2
  return "$driver_status"
}

# korean_locale: sets korean_locale_env to what makes a Wine program run with code page 949.
korean_locale_env=""
korean_locale() {
  [ -n "$korean_locale_env" ] && return 0
  if locale -a 2>/dev/null | grep -qix 'ko_KR.utf-\{0,1\}8'; then
    korean_locale_env="LC_ALL=ko_KR.UTF-8"
    return 0
  fi
  mkdir -p "$session_folder/locale"
  localedef -i ko_KR -f UTF-8 "$session_folder/locale/ko_KR.UTF-8" 2>/dev/null ||
    { echo "cannot compile the ko_KR.UTF-8 locale" >&2; return 1; }
  korean_locale_env="LC_ALL=ko_KR.UTF-8 LOCPATH=$session_folder/locale"
}
