#pragma once
// Decoding a picture file into an image at the picture's own pixel size. The type is told
// from the content, never from the name: Windows bitmaps (also run-length encoded, also
// under ".rle"), icons, cursors, GIF, JPEG and PNG go through Qt's readers or our own RLE
// decoder; Windows metafiles are played by our own record player (wmf.h) and enhanced
// metafiles are converted through SVG (emf.h). Every failure comes back as a Portuguese
// sentence the player can read, and no picture may claim more memory than the limits
// below, whatever its header says. AbrirImagem calls CarregarFigura once per puzzle and
// hands the image (and, for metafiles, the redraw function) to CortarFigura.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace zelpo {

// No decoder allocates a picture larger than this, on either side or in total.
inline constexpr int LADO_MAXIMO_FIGURA = 16384;
inline constexpr qint64 BYTES_MAXIMOS_FIGURA = 256LL * 1024 * 1024;
// A file larger than this is refused before it is read.
inline constexpr qint64 TAMANHO_MAXIMO_ARQUIVO = 256LL * 1024 * 1024;

// The messages a failed load carries.
inline constexpr char ERRO_NAO_ENCONTRADO[] = "Arquivo não encontrado";
inline constexpr char ERRO_PASTA[] = "O caminho é uma pasta, não um arquivo";
inline constexpr char ERRO_PERMISSAO[] = "Sem permissão de leitura";
inline constexpr char ERRO_LEITURA[] = "Erro de leitura do arquivo";
inline constexpr char ERRO_VAZIO[] = "Arquivo vazio";
inline constexpr char ERRO_FORMATO[] = "Formato de figura desconhecido";
inline constexpr char ERRO_GRANDE[] = "Figura grande demais";
inline constexpr char ERRO_CORROMPIDO[] = "Arquivo truncado ou corrompido";

struct Figura {
    // The picture at its natural size, Format_ARGB32. Transparent parts keep alpha 0;
    // the caller composites them on the border colour.
    QImage imagem;
    bool metarquivo = false; // WMF or EMF
    // For metafiles: the picture drawn anew to fill the given size, on a transparent
    // background, so that a shrunk metafile is redrawn rather than scaled. Empty for
    // bitmaps.
    std::function<QImage(QSize)> desenhar;
};

struct ResultadoFigura {
    std::optional<Figura> figura;
    QString erro; // why figura is empty
};

ResultadoFigura CarregarFigura(const QString& caminho);
ResultadoFigura CarregarFiguraDeBytes(const QByteArray& bytes);

// What the content looks like, from its first bytes.
enum class TipoFigura { Desconhecido, Bmp, Icone, Gif, Jpeg, Png, Wmf, Emf };
TipoFigura TipoPeloConteudo(const QByteArray& bytes);

// True when a picture of this size may be allocated at all.
bool TamanhoAceitavel(QSize tamanho);

// A failed result with the given message.
ResultadoFigura FalhaDeFigura(const char* mensagem);

} // namespace zelpo
