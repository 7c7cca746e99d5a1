#pragma once
// Windows bitmaps, decoded here row by row into a ReceptorDeLinhas (ajuste.h), so that a
// bitmap of any size becomes a puzzle without ever being held whole: a crop seeks to the
// rows it keeps, a shrink folds in each row as it is read, and a run-length bitmap that
// declares a huge picture in a few bytes costs only the rows its codes paint.
//
// The pixels are those Qt's bitmap reader gives (palette, 16-bit and bit-field scaling,
// alpha only from a bit-field mask), which the cut used before. Run-length bitmaps differ
// on purpose: pixels that a delta escape or an early end of line skips are transparent,
// so that the border colour shows through them. ProblemaDoBmp first checks that the
// header and the pixel data hang together, since a file cut short must be refused rather
// than shown with blank rows.

#include "pictures/ajuste.h"
#include "pictures/figura.h"

#include <QByteArray>
#include <QIODevice>

#include <optional>

namespace zelpo {

inline constexpr int TAMANHO_CABECALHO_ARQUIVO_BMP = 14;
inline constexpr int TAMANHO_CABECALHO_OS2 = 12; // OS/2 1.x, sizes in 16 bits
inline constexpr quint32 BI_RGB = 0;
inline constexpr quint32 BI_RLE8 = 1;
inline constexpr quint32 BI_RLE4 = 2;
inline constexpr quint32 BI_BITFIELDS = 3;
// Enough of the start of a file for every header, the bit-field masks and a palette.
inline constexpr int TAMANHO_MAXIMO_CABECALHOS_BMP = TAMANHO_CABECALHO_ARQUIVO_BMP + 124 + 12 + 256 * 4;

// The bytes of one stored row of pixels, padded to whole 32-bit words.
inline qint64 BytesPorLinhaBmp(qint64 largura, int bitsPorPixel)
{
    return (largura * bitsPorPixel + 31) / 32 * 4;
}

// The fields of a bitmap's headers that decoding needs, whatever the header's version.
struct CabecalhoBmp {
    quint32 tamanhoCabecalho = 0; // 12 for OS/2 1.x, 16 to 124 for the others
    int largura = 0;
    int altura = 0;               // always positive
    bool deCimaParaBaixo = false; // rows stored top first (negative height)
    int bitsPorPixel = 0;
    quint32 compressao = BI_RGB;
    quint32 inicioPixels = 0;     // offset of the pixel data in the file
    int coresNaPaleta = 0;
    int bytesPorCor = 4;          // 3 in OS/2 1.x palettes
    quint32 mascaras[4] = {0, 0, 0, 0}; // red, green, blue, alpha of bit-field pixels

    qint64 BytesPorLinha() const { return BytesPorLinhaBmp(largura, bitsPorPixel); }
    bool Rle() const { return compressao == BI_RLE8 || compressao == BI_RLE4; }
};

// Nothing when the bytes do not even hold the two headers.
std::optional<CabecalhoBmp> LerCabecalhoBmp(const QByteArray& inicio);

// The reason a bitmap file cannot be shown (an ERRO_ message), or nullptr when its header
// is sound and all of its pixel data is present. `inicio` is the start of the file (at
// least its headers and palette), `tamanho` the size of the whole file.
const char* ProblemaDoBmp(const QByteArray& inicio, qint64 tamanho);

// The bitmap file on the device, from its start, as the board keeps it.
ResultadoFigura DecodificarBmp(QIODevice& dispositivo, const Ajuste& ajuste);

// A bare device-independent bitmap (as metafiles carry them) given a file header, so
// that it can be decoded like a bitmap file.
QByteArray ArquivoDeDib(const QByteArray& dib);

} // namespace zelpo
