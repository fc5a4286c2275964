#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need (sudo when not root),
# and a locale with a decimal comma, under which the tests check that numbers ignore the C
# library's locale.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libsqlite3-dev libjpeg-dev libxlsxwriter-dev libshp-dev pxlib-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-arphic-uming fonts-liberation2 qt6-translations-l10n
  poppler-utils locales
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
locale -a 2>/dev/null | grep -qix 'de_DE.utf8' || $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
