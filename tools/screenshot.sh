#!/usr/bin/env bash
# Takes a picture of the program as a user sees it, with Shift+A, the left button and a wheel
# notch held: run through tools/wine-session.sh (make screenshot):
#   tools/screenshot.sh BUILD_DIR
# The program runs inside a Wine virtual desktop, so that its caption and menu bar are drawn,
# from a copy of the built files with a settings file that puts it at a known place. The picture
# is cropped to the window and saved as BUILD_DIR/screenshot.png.
set -euo pipefail

build_dir=$(cd "$1" && pwd)
stage="$build_dir/screenshot-stage"
output="$build_dir/screenshot.png"
left=100
top=120
desktop_name=shot
title='Taveloキーボード Ver1.02'

rm -rf "$stage"
mkdir -p "$stage"
cp "$build_dir/bin/TaveloKeyboard.exe" "$build_dir/bin/keyhook.dll" "$stage/"
# A remembered position puts the window at (left, top); a long wheel time keeps the arrow lit.
printf '[System]\r\nWheelInitTime=60000\r\n[Window]\r\nMemorizePosition=1\r\nLeft=%d\r\nTop=%d\r\n' \
    "$left" "$top" >"$stage/TaveloKeyboard.ini"

# The colour of one screen pixel, as ImageMagick names it.
pixel() { import -window root -crop "1x1+$1+$2" +repage -format '%[pixel:p{0,0}]' info:; }

# Polls a shell condition twice a second for up to 20 s.
wait_for() {
    local tries=40
    until eval "$1"; do
        tries=$((tries - 1))
        if [ "$tries" -le 0 ]; then
            echo "screenshot: timed out waiting for: $2" >&2
            return 1
        fi
        sleep 0.5
    done
}

wine explorer "/desktop=$desktop_name,1280x1024" "$(winepath -w "$stage/TaveloKeyboard.exe")" \
    </dev/null >/dev/null 2>&1 &
desktop_job=$!

release_all() {
    xdotool keyup a Shift_L mouseup 1 2>/dev/null || true
}
trap release_all EXIT

wait_for 'xdotool search --name "$desktop_name - Wine desktop" >/dev/null 2>&1' "the virtual desktop"
wait_for 'xdotool search --name "$title" >/dev/null 2>&1' "the program's window"
program_window=$(xdotool search --name "$title" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$program_window")" # WIDTH, HEIGHT
background=$(pixel 2 2)
# The A key (client 71..108, 126..163) lies about 90, 190 pixels into the window.
key_x=$((left + 90))
key_y=$((top + 190))
wait_for '[ "$(pixel $key_x $key_y)" != "$background" ]' "the first paint"
unlit=$(pixel "$key_x" "$key_y")

# Input goes through X to the virtual desktop under the pointer; the program's hook sees it
# whichever window has the focus. The button is held on an empty part of the picture.
xdotool mousemove $((left + 3 + 670)) $((top + 41 + 140))
xdotool mousedown 1
xdotool click 4
xdotool keydown Shift_L keydown a
# Every paint draws the whole state, and the events arrive in order: once A shows, all do.
wait_for '[ "$(pixel $key_x $key_y)" != "$unlit" ]' "the A key to light"
import -window root -crop "${WIDTH}x${HEIGHT}+${left}+${top}" +repage "$output"
release_all

wine explorer "/desktop=$desktop_name,1280x1024" taskkill /im TaveloKeyboard.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 40); do
    kill -0 "$desktop_job" 2>/dev/null || break
    sleep 0.5
done
echo "screenshot: $output"
