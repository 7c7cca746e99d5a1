#include "pieces/figura.h"

#include "pieces/bmp.h"
#include "pieces/bytes.h"
#include "pieces/emf.h"
#include "pieces/wmf.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelpo {

namespace {

constexpr int LIMITE_ALOCACAO_QT_MB = static_cast<int>(BYTES_MAXIMOS_FIGURA / (1024 * 1024));
constexpr int BYTES_POR_PIXEL = 4;
constexpr qint64 BLOCO_LEITURA = 1 << 16;

constexpr char ASSINATURA_PNG[] = "\x89PNG\r\n\x1a\n";
constexpr int TAMANHO_ENTRADA_ICONE = 16;
constexpr int TAMANHO_DIRETORIO_ICONE = 6;
constexpr quint16 TIPO_ICONE = 1;
constexpr quint16 TIPO_CURSOR = 2;

// Qt's readers refuse on their own any image above the limit; the sizes we check first
// only spare them the attempt.
void LimitarAlocacaoDoQt()
{
    static const bool limitado = [] {
        QImageReader::setAllocationLimit(LIMITE_ALOCACAO_QT_MB);
        return true;
    }();
    (void)limitado;
}

bool EhIcone(const QByteArray& b)
{
    const quint16 tipo = LerU16(b, 2);
    return b.size() >= TAMANHO_DIRETORIO_ICONE && LerU16(b, 0) == 0
        && (tipo == TIPO_ICONE || tipo == TIPO_CURSOR) && LerU16(b, 4) > 0;
}

bool EhBmp(const QByteArray& b)
{
    if (!b.startsWith("BM") || b.size() < TAMANHO_CABECALHO_ARQUIVO_BMP + 4) {
        return false;
    }
    const quint32 cabecalho = LerU32(b, TAMANHO_CABECALHO_ARQUIVO_BMP);
    return cabecalho == 12 || cabecalho == 16 || cabecalho == 40 || cabecalho == 52 || cabecalho == 56
        || cabecalho == 64 || cabecalho == 108 || cabecalho == 124;
}

// An icon's directory must point inside the file, and no image in it may be oversized.
const char* ProblemaDoIcone(const QByteArray& b)
{
    const int quantas = LerU16(b, 4);
    if (TAMANHO_DIRETORIO_ICONE + qint64(quantas) * TAMANHO_ENTRADA_ICONE > b.size()) {
        return ERRO_CORROMPIDO;
    }
    for (int i = 0; i < quantas; ++i) {
        const qint64 entrada = TAMANHO_DIRETORIO_ICONE + qint64(i) * TAMANHO_ENTRADA_ICONE;
        const qint64 tamanho = LerU32(b, entrada + 8);
        const qint64 inicio = LerU32(b, entrada + 12);
        if (tamanho < 12 || inicio + tamanho > b.size()) {
            return ERRO_CORROMPIDO;
        }
        QSize lado;
        if (b.mid(inicio, 8) == QByteArray(ASSINATURA_PNG)) {
            lado = QSize(static_cast<int>(LerU32BigEndian(b, inicio + 16) & 0x7FFFFFFF),
                         static_cast<int>(LerU32BigEndian(b, inicio + 20) & 0x7FFFFFFF));
        } else if (LerU32(b, inicio) == 12) {
            lado = QSize(LerU16(b, inicio + 4), LerU16(b, inicio + 6) / 2);
        } else {
            // The height of an icon's bitmap counts its AND mask too.
            lado = QSize(LerS32(b, inicio + 4), static_cast<int>(qAbs(qint64(LerS32(b, inicio + 8))) / 2));
        }
        if (lado.width() <= 0 || lado.height() <= 0) {
            return ERRO_CORROMPIDO;
        }
        if (!TamanhoAceitavel(lado)) {
            return ERRO_GRANDE;
        }
    }
    return nullptr;
}

qint64 PularSubBlocos(const QByteArray& b, qint64 pos)
{
    while (pos < b.size()) {
        const int tamanho = LerU8(b, pos);
        pos += 1 + tamanho;
        if (tamanho == 0) {
            return pos;
        }
    }
    return -1;
}

// Walks the blocks of a GIF: one cut inside a block, or before the first image is
// complete, is truncated. A missing trailer after a complete image is tolerated.
const char* ProblemaDoGif(const QByteArray& b)
{
    constexpr int FIM_DESCRITOR_TELA = 13;
    constexpr int TAMANHO_DESCRITOR_IMAGEM = 10;
    const auto tamanhoTabela = [](quint8 flags) { return (flags & 0x80) ? 3 * (2 << (flags & 7)) : 0; };
    // Qt's reader sizes its canvas from the logical screen, whatever the frames hold.
    if (!TamanhoAceitavel(QSize(LerU16(b, 6), LerU16(b, 8)))) {
        return LerU16(b, 6) == 0 || LerU16(b, 8) == 0 ? ERRO_CORROMPIDO : ERRO_GRANDE;
    }
    qint64 pos = FIM_DESCRITOR_TELA + tamanhoTabela(LerU8(b, 10));
    int imagens = 0;
    while (pos >= 0 && pos < b.size()) {
        const quint8 bloco = LerU8(b, pos);
        if (bloco == 0x21) {
            pos = PularSubBlocos(b, pos + 2);
        } else if (bloco == 0x2C) {
            const qint64 dados = pos + TAMANHO_DESCRITOR_IMAGEM + tamanhoTabela(LerU8(b, pos + 9));
            pos = dados < b.size() ? PularSubBlocos(b, dados + 1) : -1;
            imagens += pos >= 0 ? 1 : 0;
        } else {
            break; // the trailer, or garbage after it
        }
    }
    return pos < 0 || imagens == 0 ? ERRO_CORROMPIDO : nullptr;
}

const char* ProblemaDoConteiner(TipoFigura tipo, const QByteArray& b)
{
    switch (tipo) {
    case TipoFigura::Bmp:
        return ProblemaDoBmp(b);
    case TipoFigura::Icone:
        return ProblemaDoIcone(b);
    case TipoFigura::Gif:
        return ProblemaDoGif(b);
    case TipoFigura::Jpeg: // libjpeg pads a cut file with grey and calls it a success
        return b.lastIndexOf(QByteArrayView("\xFF\xD9")) < 0 ? ERRO_CORROMPIDO : nullptr;
    case TipoFigura::Png:
        return b.indexOf(QByteArrayView("IEND")) < 0 ? ERRO_CORROMPIDO : nullptr;
    default:
        return nullptr;
    }
}

const char* FormatoQt(TipoFigura tipo)
{
    switch (tipo) {
    case TipoFigura::Bmp:
        return "bmp";
    case TipoFigura::Icone:
        return "ico";
    case TipoFigura::Gif:
        return "gif";
    case TipoFigura::Jpeg:
        return "jpeg";
    default:
        return "png";
    }
}

// Icons and cursors carry several sizes of one picture: the largest makes the best
// puzzle. Other formats give their first (or only) image.
ResultadoFigura LerComQt(const QByteArray& bytes, TipoFigura tipo)
{
    LimitarAlocacaoDoQt();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader leitor(&buffer, FormatoQt(tipo));
    leitor.setAutoTransform(false);
    const int quantas = tipo == TipoFigura::Icone ? qMax(1, leitor.imageCount()) : 1;
    QImage melhor;
    for (int i = 0; i < quantas; ++i) {
        if (i > 0 && !leitor.jumpToImage(i)) {
            break;
        }
        const QSize tamanho = leitor.size();
        if (tamanho.isValid() && !TamanhoAceitavel(tamanho)) {
            return FalhaDeFigura(ERRO_GRANDE);
        }
        const QImage imagem = leitor.read();
        if (!imagem.isNull() && qint64(imagem.width()) * imagem.height() > qint64(melhor.width()) * melhor.height()) {
            melhor = imagem;
        }
    }
    if (melhor.isNull()) {
        return FalhaDeFigura(leitor.error() == QImageReader::UnsupportedFormatError ? ERRO_FORMATO : ERRO_CORROMPIDO);
    }
    return {Figura{melhor.convertToFormat(QImage::Format_ARGB32), false, {}}, {}};
}

const char* FalhaDeAbertura(int erro)
{
    switch (erro) {
    case ENOENT:
    case ENOTDIR:
        return ERRO_NAO_ENCONTRADO;
    case EACCES:
    case EPERM:
        return ERRO_PERMISSAO;
    case EISDIR:
        return ERRO_PASTA;
    default:
        return ERRO_LEITURA;
    }
}

// Closes the descriptor on every way out.
struct Descritor {
    int fd;
    ~Descritor() { ::close(fd); }
};

} // namespace

bool TamanhoAceitavel(QSize tamanho)
{
    return tamanho.width() > 0 && tamanho.height() > 0 && tamanho.width() <= LADO_MAXIMO_FIGURA
        && tamanho.height() <= LADO_MAXIMO_FIGURA
        && qint64(tamanho.width()) * tamanho.height() * BYTES_POR_PIXEL <= BYTES_MAXIMOS_FIGURA;
}

ResultadoFigura FalhaDeFigura(const char* mensagem)
{
    return {std::nullopt, QString::fromUtf8(mensagem)};
}

TipoFigura TipoPeloConteudo(const QByteArray& b)
{
    if (EhBmp(b)) {
        return TipoFigura::Bmp;
    }
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) {
        return TipoFigura::Gif;
    }
    if (b.startsWith("\xFF\xD8\xFF")) {
        return TipoFigura::Jpeg;
    }
    if (b.startsWith(ASSINATURA_PNG)) {
        return TipoFigura::Png;
    }
    if (PareceEmf(b)) {
        return TipoFigura::Emf;
    }
    if (PareceWmf(b)) {
        return TipoFigura::Wmf;
    }
    // Checked last: four bytes of an icon directory are the weakest signature.
    if (EhIcone(b)) {
        return TipoFigura::Icone;
    }
    return TipoFigura::Desconhecido;
}

ResultadoFigura CarregarFiguraDeBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        return FalhaDeFigura(ERRO_VAZIO);
    }
    const TipoFigura tipo = TipoPeloConteudo(bytes);
    switch (tipo) {
    case TipoFigura::Desconhecido:
        return FalhaDeFigura(ERRO_FORMATO);
    case TipoFigura::Wmf:
        return DecodificarWmf(bytes);
    case TipoFigura::Emf:
        return DecodificarEmf(bytes);
    default:
        break;
    }
    if (const char* problema = ProblemaDoConteiner(tipo, bytes)) {
        return FalhaDeFigura(problema);
    }
    if (tipo == TipoFigura::Bmp && EhBmpRle(bytes)) {
        return DecodificarBmpRle(bytes);
    }
    return LerComQt(bytes, tipo);
}

ResultadoFigura CarregarFigura(const QString& caminho)
{
    if (caminho.isEmpty()) {
        return FalhaDeFigura(ERRO_NAO_ENCONTRADO);
    }
    // Opened by hand rather than through QFile: the system's reason for a refusal
    // (missing, forbidden, a folder) is what the player needs to read.
    const QByteArray nome = QFile::encodeName(caminho);
    const int fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return FalhaDeFigura(FalhaDeAbertura(errno));
    }
    const Descritor descritor{fd};
    struct stat estado {};
    if (::fstat(fd, &estado) != 0) {
        return FalhaDeFigura(ERRO_LEITURA);
    }
    if (S_ISDIR(estado.st_mode)) {
        return FalhaDeFigura(ERRO_PASTA);
    }
    if (!S_ISREG(estado.st_mode)) {
        return FalhaDeFigura(ERRO_LEITURA);
    }
    if (estado.st_size > TAMANHO_MAXIMO_ARQUIVO) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(estado.st_size));
    char bloco[BLOCO_LEITURA];
    for (;;) {
        const ssize_t lidos = ::read(fd, bloco, sizeof bloco);
        if (lidos < 0 && errno == EINTR) {
            continue;
        }
        if (lidos < 0) {
            return FalhaDeFigura(FalhaDeAbertura(errno));
        }
        if (lidos == 0) {
            break;
        }
        if (bytes.size() + lidos > TAMANHO_MAXIMO_ARQUIVO) {
            return FalhaDeFigura(ERRO_GRANDE);
        }
        bytes.append(bloco, lidos);
    }
    return CarregarFiguraDeBytes(bytes);
}

} // namespace zelpo
