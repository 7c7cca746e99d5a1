#pragma once
// Decoding a picture file into the picture the board keeps. The type is told from the
// content, never from the name: Windows bitmaps (also run-length encoded, also under
// ".rle") and JPEG photos go through our own row-by-row decoders (bmp.h, jpeg.h); icons,
// cursors, GIF, PNG, WebP and TIFF through Qt's readers and its image format plugins;
// Windows metafiles are played by our own record player (wmf.h) and enhanced metafiles
// drawn through SVG (emf.h).
//
// The caller says what the board keeps (an Ajuste: at most S on a side, cropped or
// shrunk), and the decoders produce only that: a photo of any size is cropped or shrunk
// while it is read, a metafile is played at the size it will be shown. Every failure
// comes back as a Portuguese sentence the player can read. AbrirImagem calls
// CarregarFigura once per puzzle with the Ajuste of the player's options (corte.h) and
// hands the picture to CortarFigura.

#include "pictures/ajuste.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace zelpo {

// One budget for every decoder. Memory: what decoding one picture may hold at once,
// counted as each reader really holds it (Qt's GIF reader keeps two canvases, 16-bit PNG
// eight bytes a pixel, a metafile every image it embeds); a picture that needs more is
// refused, unless its reader can shrink it on the way. Work: the pixels a decoder may
// produce or go over (every row of a run-length bitmap, every scan of a progressive JPEG
// over the whole picture); a picture that needs more is refused. Either refusal is
// ERRO_GRANDE. Together they keep any file within about a second and 150 MB.
inline constexpr qint64 MEMORIA_MAXIMA_FIGURA = 96LL * 1024 * 1024;
inline constexpr qint64 PIXELS_MAXIMOS_FIGURA = 64LL * 1024 * 1024;
// Our own decoders keep one row at a time; no side may be longer than this.
inline constexpr int LADO_MAXIMO_FIGURA = 1 << 20;
// An icon's directory is read up to this many entries; only the largest is decoded.
inline constexpr int ENTRADAS_MAXIMAS_ICONE = 64;

// The messages a failed load carries.
inline constexpr char ERRO_LEITURA[] = "Erro de leitura do arquivo";
inline constexpr char ERRO_VAZIO[] = "Arquivo vazio";
inline constexpr char ERRO_FORMATO[] = "Formato de figura desconhecido";
inline constexpr char ERRO_GRANDE[] = "Figura grande demais";
inline constexpr char ERRO_CORROMPIDO[] = "Arquivo truncado ou corrompido";

struct Figura {
    // The picture as the board keeps it (cropped or shrunk), Format_ARGB32. Transparent
    // parts keep alpha 0; the caller composites them on the border colour.
    QImage imagem;
    QSize natural;           // the size the file declares
    bool metarquivo = false; // WMF or EMF content
};

struct ResultadoFigura {
    std::optional<Figura> figura;
    QString erro; // why figura is empty
};

ResultadoFigura CarregarFiguraDeBytes(const QByteArray& bytes, const Ajuste& ajuste);

// What the content looks like, from its first bytes.
enum class TipoFigura { Desconhecido, Bmp, Icone, Gif, Jpeg, Png, WebP, Tiff, Wmf, Emf };
TipoFigura TipoPeloConteudo(const QByteArray& inicio);

// A failed result with the given message.
ResultadoFigura FalhaDeFigura(const char* mensagem);

} // namespace zelpo
