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

// libjpeg may use this much memory for its own tables and, in progressive files, the
// coefficients of the whole picture; a file that needs more is refused as too large.
inline constexpr long MEMORIA_MAXIMA_JPEG = 96L * 1024 * 1024;

// Progressive files of more scans than this are refused as damaged: every scan goes over
// the whole picture again.
inline constexpr int VARREDURAS_MAXIMAS_JPEG = 1000;

ResultadoFigura DecodificarJpeg(QIODevice& dispositivo, const Ajuste& ajuste);

} // namespace zelpo
