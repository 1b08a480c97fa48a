#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
# fonts-liberation2: the screens and reports ask for Arial, and Liberation Sans has its metrics;
# without it the stand-in is a PostScript-outline font, slower to load and draw at start-up.
# libmdb3, mdbtools-dev: the reader of Jet databases; mdbtools: mdb-export, which the Jet
# benchmark measures the conversion against.
# libreoffice-writer-nogui: a test reads the RTF report as a word processor lays it out.
packages=(build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
  libsqlite3-dev libhunspell-dev hunspell-en-us
  libmdb3 mdbtools-dev mdbtools
  libgtest-dev libbenchmark-dev poppler-utils
  fonts-liberation2 libreoffice-writer-nogui)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
