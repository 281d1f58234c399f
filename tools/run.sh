#!/usr/bin/env bash
# make run: starts the program under Wine. On a desktop ($DISPLAY set) it runs until you close it.
# Without one it runs on a private Xvfb: it is shown, a few keys are typed into it, a picture of the
# screen is saved to BUILD/run.png, and it is closed again.
set -uo pipefail
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)

if [ -n "${DISPLAY:-}" ]; then
  exec bash "$here/wine-session.sh" "$build_dir" wine "$build_dir/bin/TaveloKeyboard.exe"
fi

echo "No \$DISPLAY: running TaveloKeyboard on a private Xvfb."
exec bash "$here/wine-session.sh" "$build_dir" bash -c '
  build_dir=$1
  wine "$build_dir/bin/TaveloKeyboard.exe" &
  program=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --classname TaveloKeyboard.exe 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "The program showed no window." >&2
    kill "$program" 2>/dev/null
    exit 1
  fi
  xdotool windowfocus "$window" 2>/dev/null
  xdotool keydown shift keydown a
  sleep 1
  import -window root "$build_dir/run.png"
  xdotool keyup a keyup shift
  xdotool key alt+F4
  wait "$program"
  echo "The program ran and closed with exit code $?; the screen while Shift+A was held: $build_dir/run.png"
' run "$build_dir"
