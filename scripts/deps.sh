#!/usr/bin/env bash
# Installs every Debian package Lorvane needs to build, test and run. Idempotent and non-interactive.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-svg-dev libgl-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  fonts-liberation fonts-dejavu-core fontconfig
  xvfb xauth dbus dbus-daemon at-spi2-core python3-pyatspi
  cups printer-driver-cups-pdf poppler-utils libcups2-dev
  qt6-translations-l10n
  libcdio-dev
  libtag1-dev
  libcurl4-openssl-dev xdg-utils
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
