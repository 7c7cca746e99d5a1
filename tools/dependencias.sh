#!/bin/sh
# Installs the Debian 12 packages the game needs to build, run and be tested, skipping
# the ones already there so that a second run costs a second; with --pacote also those
# that build and check its Debian package. Needs root or sudo.
set -eu
PACOTES="build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libxcb1-dev qt6-translations-l10n qt6-image-formats-plugins libpulse-dev libasound2-dev
  libgtest-dev libbenchmark-dev libemf2svg-dev libjpeg-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth xfonts-base
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl appstream"
[ "${1:-}" = "--pacote" ] && PACOTES="$PACOTES debhelper dpkg-dev pkgconf lintian"
FALTAM=""
for p in $PACOTES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || FALTAM="$FALTAM $p"
done
[ -z "$FALTAM" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "A instalar:$FALTAM"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $FALTAM
