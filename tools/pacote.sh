#!/bin/sh
# Builds the Debian package from a copy of this tree (without its build folders) and
# checks the .deb and the .changes with lintian: any error or warning fails. The package
# lands in build-pacote/. Without --testes the tests are left out of the package build
# (DEB_BUILD_OPTIONS=nocheck), as in the test command, which has just run them.
# Usage: sh tools/pacote.sh [--testes]
set -eu
cd "$(dirname "$0")/.."
SAIDA="$(pwd)/build-pacote"
rm -rf "$SAIDA"
mkdir -p "$SAIDA/zelpora"
tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$SAIDA/zelpora"
OPCOES="parallel=$(nproc)"
PERFIS=""
if [ "${1:-}" != "--testes" ]; then
  OPCOES="$OPCOES nocheck"
  PERFIS="-Pnocheck"
fi
(cd "$SAIDA/zelpora" && DEB_BUILD_OPTIONS="$OPCOES" dpkg-buildpackage -us -uc -b $PERFIS >"$SAIDA/construcao.log" 2>&1) || {
  tail -40 "$SAIDA/construcao.log"
  echo "the Debian package did not build: see $SAIDA/construcao.log"
  exit 1
}
rm -rf "$SAIDA/zelpora"
echo "Debian package: $(cd "$SAIDA" && ls ./*.deb | tr '\n' ' ')"
lintian --fail-on error,warning --info "$SAIDA"/*.changes
echo "lintian: no error or warning"
