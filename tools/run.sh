#!/usr/bin/env bash
# make run: starts the program under Wine on $DISPLAY (or a private Xvfb) and waits for it to end.
set -uo pipefail
build_dir=$1
exec bash "$(dirname "$0")/wine-session.sh" "$build_dir" wine "$build_dir/bin/TaveloKeyboard.exe"
