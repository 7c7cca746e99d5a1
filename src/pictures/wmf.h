#pragma once
// Windows metafiles (WMF), played record by record on a QPainter. A metafile is a list
// of GDI calls; this player keeps a device context of its own (pens, brushes and fonts
// in an object table, the window and viewport, colours and modes, a stack for SAVEDC)
// and draws the shapes, text and bitmaps the records describe, so that a metafile can be
// drawn anew at any size rather than scaled as a bitmap. Records it does not know are
// skipped. CarregarFiguraDeBytes hands it any content that starts like a metafile, with
// the size the board keeps, and the records are played at that size, never larger.
//
// The picture's natural size: with the placeable header, its box at 96 pixels to the
// inch (the header gives the units per inch); without it, the first window extent at
// 1440 units to the inch; with neither, the box of everything drawn, one unit a pixel.

#include "pictures/ajuste.h"
#include "pictures/figura.h"

#include <QByteArray>

namespace zelpo {

inline constexpr quint32 CHAVE_WMF_POSICIONAVEL = 0x9AC6CDD7;
inline constexpr int UNIDADES_POR_POLEGADA_WMF = 1440;
inline constexpr int PIXELS_POR_POLEGADA = 96;

bool PareceWmf(const QByteArray& bytes);
ResultadoFigura DecodificarWmf(const QByteArray& bytes, const Ajuste& ajuste);

} // namespace zelpo
