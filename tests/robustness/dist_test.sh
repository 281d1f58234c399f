#!/usr/bin/env bash
# The zip a user downloads: built by make dist, its contents listed, its programs' imports
# checked, then unpacked and run in a Wine prefix made for this run alone, as on a machine that
# has never seen the program.
#   dist_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail

source_dir=$1
build_dir=$2
work=$(mktemp -d)
prefix="$work/prefix"
program_pid=""

cleanup() {
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null || true
  fi
  # Only ever the server of the prefix made above.
  if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a command for up to the given number of seconds.
wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

zip=$(bash "$source_dir/tools/make_dist.sh" "$build_dir" | tail -n 1) || fail "make_dist.sh failed"
[ -f "$zip" ] || fail "no zip at $zip"

echo "--- contents of $(basename "$zip")"
files=$(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^[^/]*/||' | sort)
echo "$files"
expected=$(printf '%s\n' LICENSE.txt README.txt TaveloKeyboard.exe keyboard.bmp keyhook.dll | sort)
[ "$files" = "$expected" ] || fail "the zip holds other files than: $(echo $expected)"
[ "$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u | wc -l)" -eq 1 ] || fail "not everything is in one folder"

echo "--- README.txt"
# UTF-8 with a byte-order mark, every byte sequence valid, CRLF line ends, the text of docs/dist.
unzip -p "$zip" "*/README.txt" >"$work/README.txt"
[ "$(head -c 3 "$work/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte-order mark"
/usr/bin/python3 -c 'import sys; open(sys.argv[1], "rb").read().decode("utf-8", "strict")' "$work/README.txt" \
  || fail "README.txt is not valid UTF-8"
[ "$(grep -c $'\r$' "$work/README.txt")" -eq "$(wc -l <"$work/README.txt")" ] || fail "README.txt has a line without CRLF"
[ "$(tr -d '\n' <"$work/README.txt" | tr -cd '\r' | wc -c)" -eq "$(wc -l <"$work/README.txt")" ] \
  || fail "README.txt has a carriage return inside a line"
tail -c +4 "$work/README.txt" | tr -d '\r' | cmp -s - "$source_dir/docs/dist/README.txt" \
  || fail "README.txt does not hold the text of docs/dist/README.txt"
echo "UTF-8 with a byte-order mark, CRLF, $(wc -l <"$work/README.txt") lines"

echo "--- imports"
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
for binary in TaveloKeyboard.exe keyhook.dll; do
  imports=$(unzip -p "$zip" "*/$binary" >"$work/$binary" && x86_64-w64-mingw32-objdump -p "$work/$binary" \
    | sed -n 's/^[[:space:]]*DLL Name: //p')
  echo "$binary: $(echo $imports)"
  [ -n "$imports" ] || fail "$binary: no imports read"
  while read -r dll; do
    echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls" || fail "$binary imports $dll, which Windows does not have"
  done <<<"$imports"
done

echo "--- first start in a fresh Wine prefix"
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip") || fail "unzip failed"
folder=$(ls "$work/unpacked")
installed="$work/unpacked/$folder"
[ ! -e "$installed/TaveloKeyboard.ini" ] || fail "settings file present before the first start"

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -n "${DISPLAY:-}" ] || fail "no display"
# The daemons inherit the output of whoever starts them; nothing here waits on it.
wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot failed"
wineserver -p </dev/null >/dev/null 2>&1
bash "$source_dir/tools/wine-fonts.sh"

(cd "$installed" && exec wine ./TaveloKeyboard.exe) </dev/null >/dev/null 2>&1 &
program_pid=$!

window_shown() { xdotool search --onlyvisible --classname TaveloKeyboard.exe >/dev/null 2>&1; }
wait_for 60 window_shown || fail "the window did not appear"
echo "window shown"

# taskkill without /f asks the program's windows to close, as their close box would.
wine taskkill /im TaveloKeyboard.exe </dev/null >/dev/null 2>&1
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for 60 program_ended || fail "the program did not end after being asked to close"
wait "$program_pid"
status=$?
program_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"

settings="$installed/TaveloKeyboard.ini"
[ -f "$settings" ] || fail "no TaveloKeyboard.ini written at exit"
echo "--- $settings"
cat "$settings"
for key in CustomImageName UseCustomImage WheelInitTime DefaultPosition Left MemorizePosition MostTop Top; do
  [ "$(grep -c "^$key=" "$settings")" -eq 1 ] || fail "$key not written exactly once"
done
echo "PASS"
