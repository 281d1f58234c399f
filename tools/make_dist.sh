#!/usr/bin/env bash
# make dist: the zip a user downloads, written to BUILD/dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
version=1.02
name="TaveloKeyboard-${version}-win64"
stage="$build_dir/dist/$name"

rm -rf "$stage" "$build_dir/dist/$name.zip"
mkdir -p "$stage"
cp "$build_dir/bin/TaveloKeyboard.exe" "$build_dir/bin/keyhook.dll" resources/keyboard.bmp "$stage/"
# Windows users open these in Notepad: Shift-JIS with CRLF line ends.
iconv -f UTF-8 -t CP932 docs/dist/README.txt | sed 's/$/\r/' >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
(cd "$build_dir/dist" && zip -qr -X "$name.zip" "$name")
echo "$build_dir/dist/$name.zip"
