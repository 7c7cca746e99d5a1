#!/bin/sh
# Installs the game into a temporary prefix and starts the installed program headless:
# it must find its pictures in the installed data folder and start a random game.
# Usage: instalacao.sh BUILD_DIR
set -eu
PREFIXO=$(mktemp -d)
trap 'rm -rf "$PREFIXO"' EXIT
cmake --install "$1" --prefix "$PREFIXO" >/dev/null
for f in bin/zelpo share/applications/zelpora.desktop share/mime/packages/zelpora-zpr.xml \
         share/metainfo/zelpora.metainfo.xml share/icons/hicolor/256x256/apps/zelpora.png \
         share/zelpora/Facil share/zelpora/Medio share/zelpora/Dificil; do
  [ -e "$PREFIXO/$f" ] || { echo "missing after install: $f"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$PREFIXO/share/applications/zelpora.desktop"; fi
if command -v appstreamcli >/dev/null; then appstreamcli validate --no-net --pedantic "$PREFIXO/share/metainfo/zelpora.metainfo.xml" >/dev/null; fi
# run from another folder, with a fresh home, so nothing of the build tree is found
CASA=$(mktemp -d)
SAIDA=$(cd / && HOME="$CASA" XDG_CONFIG_HOME="$CASA/.config" XDG_DATA_HOME="$CASA/.local/share" \
        QT_QPA_PLATFORM=offscreen ZELPO_RELATORIO=1 "$PREFIXO/bin/zelpo" 2>/dev/null)
rm -rf "$CASA"
echo "$SAIDA"
case "$SAIDA" in
  figura=$PREFIXO/share/zelpora/Medio/*" grade="*) echo "installed game started" ;;
  *) echo "the installed game did not start a game from its own pictures"; exit 1 ;;
esac
