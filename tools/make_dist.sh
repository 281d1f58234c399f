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
# Windows users open these in Notepad, so CRLF line ends. The Japanese README is UTF-8 with a
# byte-order mark, which every Notepad since Windows 7 reads whatever the system's code page;
# the licence is ASCII.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' docs/dist/README.txt; } >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
(cd "$build_dir/dist" && zip -qr -X "$name.zip" "$name")
echo "$build_dir/dist/$name.zip"
