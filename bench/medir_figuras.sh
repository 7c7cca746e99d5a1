#!/bin/sh
# Time and peak memory of a whole process for each large or hostile picture cut into
# pieces: writes the pictures into a temporary folder, then runs the timing tool once per
# case, each in a process of its own. The hostile set (bench/figuras_hostis.h) must each be
# shown or refused within 1 s and 150 MB.
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
    hostil_elipses.wmf hostil_poligonos.wmf hostil_textos.wmf hostil_recortes.wmf hostil_bitmaps.wmf hostil.emf \
    emf_40_pngs.emf icone_4000.ico icone_2_png_8000.ico gif_tela_8191.gif png16_5700.png cinza_8191.png \
    cinza_8191.tif tiff_8000.tif webp_8000.webp progressivo_6900.jpg progressivo_4000.jpg baseline_65500.jpg rle_cheio_65535.bmp; do
  for adaptar in --adaptar ""; do
    "$FERRAMENTA" --pecas $adaptar "$PASTA/$figura" 2>/dev/null
  done
done
