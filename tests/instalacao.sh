#!/bin/sh
# Installs the game into a temporary prefix and starts the installed program headless:
# it must find its pictures in the installed data folder and start a random game.
# Installed with its launcher, a start registers nothing in the player's home.
# Usage: instalacao.sh BUILD_DIR [BIN_DIR]   (the program's folder under the prefix: bin, games)
set -eu
PROGRAMA="${2:-bin}/zelpo"
PREFIXO=$(mktemp -d)
trap 'rm -rf "$PREFIXO"' EXIT
cmake --install "$1" --prefix "$PREFIXO" >/dev/null
for f in "$PROGRAMA" share/applications/zelpora.desktop share/mime/packages/zelpora-zpr.xml \
         share/metainfo/zelpora.metainfo.xml share/icons/hicolor/256x256/apps/zelpora.png \
         share/zelpora/Facil share/zelpora/Medio share/zelpora/Dificil; do
  [ -e "$PREFIXO/$f" ] || { echo "missing after install: $f"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$PREFIXO/share/applications/zelpora.desktop"; fi
if command -v appstreamcli >/dev/null; then appstreamcli validate --no-net --pedantic "$PREFIXO/share/metainfo/zelpora.metainfo.xml" >/dev/null; fi
# run from another folder, with a fresh home, so nothing of the build tree is found
CASA=$(mktemp -d)
trap 'rm -rf "$PREFIXO" "$CASA"' EXIT
jogar() {
  (cd / && HOME="$CASA" XDG_CONFIG_HOME="$CASA/.config" XDG_DATA_HOME="$CASA/.local/share" \
   XDG_STATE_HOME="$CASA/.local/state" QT_QPA_PLATFORM=offscreen "$@" "$PREFIXO/$PROGRAMA" 2>/dev/null)
}
SAIDA=$(jogar env ZELPO_RELATORIO=1)
echo "$SAIDA"
case "$SAIDA" in
  figura=$PREFIXO/share/zelpora/Medio/*" grade="*) echo "installed game started" ;;
  *) echo "the installed game did not start a game from its own pictures"; exit 1 ;;
esac
# A start that runs past its first paint, ended as a desktop session ends it.
jogar timeout -s TERM 4 >/dev/null || true
for f in .local/share/applications .local/share/mime .config/mimeapps.list; do
  [ ! -e "$CASA/$f" ] || { echo "the installed game registered itself for the player: $f"; exit 1; }
done
[ -e "$CASA/.config/Brumas Vivas" ] || { echo "the installed game did not run to its end"; exit 1; }
echo "nothing registered for the player"
