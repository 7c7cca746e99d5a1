#pragma once
// JPEG pictures decoded row by row with libjpeg, each row handed to a ReceptorDeLinhas as
// it comes, so that a phone photo never sits whole in memory: a crop stops reading after
// its last row, a shrink folds each row in at once. The pixels are those of Qt's own JPEG
// reader, which drives the same library with the same settings (accurate integer
// transform, smooth chroma upsampling, CMYK inverted as Adobe writes it); only its
// picture-sized buffers are gone. CarregarFiguraDeBytes and CarregarFigura hand it any
// content that starts with a JPEG marker.

#include "pictures/ajuste.h"
#include "pictures/figura.h"

#include <QIODevice>

namespace zelpo {

// libjpeg may use this much of the picture's memory for its own tables and, in
// progressive files, the coefficients of the whole picture; the rest is the receptor's.
// A file that needs more is refused as too large.
inline constexpr long MEMORIA_MAXIMA_JPEG = static_cast<long>(MEMORIA_MAXIMA_FIGURA * 3 / 4);

// Every scan goes over the coefficients of the components it carries, which costs far
// less a pixel than making the pixels: a file whose scans together go over more than
// this many pixels is refused as too large (a many-scan progressive file, a giant one).
inline constexpr qint64 PIXELS_DE_VARREDURA_MAXIMOS = 16 * PIXELS_MAXIMOS_FIGURA;

// A picture whose pixels would pass PIXELS_MAXIMOS_FIGURA is shrunk on the way by
// libjpeg's scaled transform (by 2, 4 or 8), which gives nearly the average of each
// block, when a shrink is asked for; then the receptor shrinks it the rest of the way.
// Smaller pictures are decoded at their size, exactly as before.

ResultadoFigura DecodificarJpeg(QIODevice& dispositivo, const Ajuste& ajuste);

} // namespace zelpo
