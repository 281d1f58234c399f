#!/usr/bin/env bash
# Gives the Wine prefix in $WINEPREFIX the dialog font's metrics: "ＭＳ Ｐゴシック", which a prefix
# lacks, is mapped to IPA P Gothic (fonts-ipafont-gothic), whose glyphs are as wide as the Windows
# font's. Wine's default stand-in is wider and cuts the settings dialog's captions. The mapping is
# written once; a marker file in the prefix remembers it.
#   WINEPREFIX=... tools/wine-fonts.sh
set -uo pipefail

marker="$WINEPREFIX/.tavelo-fonts"
[ -f "$marker" ] && exit 0
# Wine reads the command line in the locale's encoding: the Japanese name needs a UTF-8 locale.
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine reg add \
  'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f </dev/null >/dev/null 2>&1 &&
  touch "$marker"
