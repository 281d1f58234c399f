#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when they are missing.
# As root it installs them; otherwise it prints the command to run and fails.
set -euo pipefail

packages=(
  cmake make ninja-build clang-format
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 wine xvfb xdotool imagemagick
  locales fonts-ipafont-gothic googletest
  python3-pil zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_locale=0
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing: ${missing[*]:-} $( [ $need_locale -eq 1 ] && echo 'locale ja_JP.UTF-8')" >&2
  echo "Run as root:" >&2
  [ ${#missing[@]} -gt 0 ] && echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  [ $need_locale -eq 1 ] && echo "  sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen && locale-gen" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 1 ] || ! locale -a | grep -qi '^ja_JP\.utf-\?8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
