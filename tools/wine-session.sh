#!/usr/bin/env bash
# Runs a command with the project's Wine prefix and a display:
#   tools/wine-session.sh BUILD_DIR COMMAND [ARGS...]
# The prefix lives in BUILD_DIR/wineprefix and is created once, with the dialog font mapped as
# tools/wine-fonts.sh says. Without $DISPLAY a private Xvfb is started for the command and
# stopped afterwards; the Wine server is started once for the whole command and ended with it.
set -uo pipefail

build_dir=$(cd "$1" && pwd)
shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEARCH=win64

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # Wide and tall enough for the window at 200 % (2006 x 549 with its frame).
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 display_number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$display_number"
fi

# The daemons inherit the output of the program that starts them: start them with /dev/null so
# that nothing waiting on a pipe hangs until they exit.
if [ ! -f "$WINEPREFIX/.tavelo-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  touch "$WINEPREFIX/.tavelo-ready"
fi
wineserver -p </dev/null >/dev/null 2>&1
# Without a window manager Wine waits about 2 s for one to acknowledge each window shown or
# hidden; unmanaged windows skip that wait.
if [ ! -f "$WINEPREFIX/.tavelo-unmanaged" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 &&
    touch "$WINEPREFIX/.tavelo-unmanaged"
fi
bash "$(dirname "$0")/wine-fonts.sh"
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

"$@"
