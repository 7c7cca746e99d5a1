#!/bin/sh
# Time and peak memory of a whole process for each large picture cut into pieces: writes
# the pictures into a temporary folder, then runs the timing tool once per case.
# Usage: sh bench/medir_figuras.sh BUILD_FOLDER   (builds zelpo_ver_figura there)
set -eu
BUILD=${1:-build}
cmake --build "$BUILD" --target zelpo_ver_figura >/dev/null
FERRAMENTA="$BUILD/zelpo_ver_figura"
PASTA=$(mktemp -d)
trap 'rm -rf "$PASTA"' EXIT
export QT_QPA_PLATFORM=offscreen
"$FERRAMENTA" --gerar "$PASTA" >/dev/null 2>&1
for figura in foto_6000x4000.jpg foto_12000x8000.jpg enorme.rle declara_demais.jpg panorama.bmp elipses.wmf \
    hostil_elipses.wmf hostil_poligonos.wmf hostil_textos.wmf hostil_recortes.wmf hostil_bitmaps.wmf hostil.emf; do
  for adaptar in --adaptar ""; do
    "$FERRAMENTA" --pecas $adaptar "$PASTA/$figura" 2>/dev/null
  done
done
