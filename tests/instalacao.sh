#!/bin/sh
# Installs the game into a temporary prefix and starts the installed program headless:
# it must find its pictures in the installed data folder and start a random game.
# Once the system's type database knows the type, a start registers nothing in the
# player's home; before that, it registers the type for the player.
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
# A start that runs past its first paint, ended as a desktop session ends it; what it
# registered for the player ("sim" or "nao").
registrou() {
  # a fresh home each time: the game a run leaves would be offered back by a question
  rm -rf "$CASA"/.local "$CASA"/.config
  jogar timeout -s TERM 4 >/dev/null || true
  [ -e "$CASA/.config/Brumas Vivas" ] || { echo "the installed game did not run to its end" >&2; exit 1; }
  if [ -e "$CASA/.local/share/applications/zelpora.desktop" ] && [ -e "$CASA/.local/share/mime/packages/zelpora-zpr.xml" ]; then
    echo sim
  elif [ -e "$CASA/.local/share/applications" ] || [ -e "$CASA/.local/share/mime" ] || [ -e "$CASA/.config/mimeapps.list" ]; then
    echo "in part"
  else
    echo nao
  fi
}
# Installed by hand, no type database knows .zpr yet: the player's own registration.
[ "$(registrou)" = sim ] || { echo "an install by hand did not register the saved games for the player"; exit 1; }
# Installed as a package does it, with the database built: nothing in the player's home.
update-mime-database "$PREFIXO/share/mime" >/dev/null 2>&1
[ "$(registrou)" = nao ] || { echo "the packaged game registered itself for the player"; exit 1; }
# A registration of the player's, left by a copy of the game since deleted, would hide the
# system's launcher: the packaged start drops it.
rm -rf "$CASA"/.local "$CASA"/.config
mkdir -p "$CASA/.local/share/applications"
printf '[Desktop Entry]\nExec=/nenhures/zelpo %%f\n' >"$CASA/.local/share/applications/zelpora.desktop"
jogar timeout -s TERM 4 >/dev/null || true
[ ! -e "$CASA/.local/share/applications/zelpora.desktop" ] || { echo "the packaged game kept a launcher of a program that is gone"; exit 1; }
echo "registered for the player only when the system does not know the type"
