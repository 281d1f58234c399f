#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when they are missing.
# As root it installs them; otherwise it prints the command to run and fails.
set -euo pipefail

packages=(
  cmake make ninja-build clang-format g++
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 wine xvfb xdotool imagemagick
  locales fonts-ipafont-gothic googletest
  python3-pil zip unzip
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Japanese is the program's own system code page (932); US English gives a Western one (1252).
locales=(ja_JP en_US)
missing_locales=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8\$" || missing_locales+=("$l.UTF-8")
done

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing: ${missing[*]:-} ${missing_locales[*]:+locales ${missing_locales[*]}}" >&2
  echo "Run as root:" >&2
  [ ${#missing[@]} -gt 0 ] && echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  for l in "${missing_locales[@]}"; do
    echo "  echo '$l UTF-8' >> /etc/locale.gen" >&2
  done
  [ ${#missing_locales[@]} -gt 0 ] && echo "  locale-gen" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_locales[@]} -gt 0 ]; then
  for l in "${missing_locales[@]}"; do
    grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
