#pragma once
// Windows bitmaps before they reach Qt's reader. Qt decodes plain bitmaps well but
// accepts a file cut short (the missing rows come back blank, with no error), and in
// run-length bitmaps it leaves the pixels that a delta escape or an early end of line
// skips uninitialised. So CarregarFiguraDeBytes first asks ProblemaDoBmp whether the
// header and the pixel data hang together, and decodes RLE4 and RLE8 bitmaps here, with
// skipped pixels transparent so that the border colour shows through them.

#include "pieces/figura.h"

#include <QByteArray>

#include <optional>

namespace zelpo {

inline constexpr int TAMANHO_CABECALHO_ARQUIVO_BMP = 14;
inline constexpr quint32 BI_RGB = 0;
inline constexpr quint32 BI_RLE8 = 1;
inline constexpr quint32 BI_RLE4 = 2;
inline constexpr quint32 BI_BITFIELDS = 3;

// The fields of a bitmap's headers that decoding needs, whatever the header's version.
struct CabecalhoBmp {
    quint32 tamanhoCabecalho = 0; // 12 for OS/2 1.x, 40 and more for Windows
    int largura = 0;
    int altura = 0;               // always positive
    bool deCimaParaBaixo = false; // rows stored top first (negative height)
    int bitsPorPixel = 0;
    quint32 compressao = BI_RGB;
    quint32 inicioPixels = 0;     // offset of the pixel data in the file
    int coresNaPaleta = 0;
    int bytesPorCor = 4;          // 3 in OS/2 1.x palettes
};

// Nothing when the bytes do not even hold the two headers.
std::optional<CabecalhoBmp> LerCabecalhoBmp(const QByteArray& bytes);

// The reason a bitmap file cannot be shown (an ERRO_ message), or nullptr when its
// header is sound and all of its pixel data is present.
const char* ProblemaDoBmp(const QByteArray& bytes);

bool EhBmpRle(const QByteArray& bytes);

// An RLE4 or RLE8 bitmap file, pixels that the encoding skips left transparent.
ResultadoFigura DecodificarBmpRle(const QByteArray& bytes);

// A bare device-independent bitmap (as metafiles carry them) given a file header, so
// that it can be decoded like a bitmap file.
QByteArray ArquivoDeDib(const QByteArray& dib);

} // namespace zelpo
