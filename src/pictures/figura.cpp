#include "pictures/figura.h"

#include "pictures/bmp.h"
#include "records/bytes.h"
#include "records/jogo.h"
#include "pictures/emf.h"
#include "pictures/jpeg.h"
#include "pictures/wmf.h"

#include <QBuffer>
#include <QImageReader>


namespace zelpo {

namespace {

constexpr int LIMITE_ALOCACAO_QT_MB = static_cast<int>(BYTES_MAXIMOS_FIGURA / (1024 * 1024));
constexpr int BYTES_POR_PIXEL = 4;
constexpr qint64 BLOCO_LEITURA = 1 << 16;
// Enough of a file's start to tell every type.
constexpr int TAMANHO_ASSINATURA = 128;

constexpr char ASSINATURA_PNG[] = "\x89PNG\r\n\x1a\n";
constexpr char FIM_JPEG[] = "\xFF\xD9";
constexpr char FIM_PNG[] = "IEND";
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

bool CabeNaMemoria(QSize tamanho)
{
    return qint64(tamanho.width()) * tamanho.height() * BYTES_POR_PIXEL <= BYTES_MAXIMOS_FIGURA;
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

bool EhWebP(const QByteArray& b)
{
    return b.startsWith("RIFF") && b.mid(8, 4) == "WEBP";
}

// Little- and big-endian TIFF, and BigTIFF.
bool EhTiff(const QByteArray& b)
{
    return b.startsWith(QByteArray("II*\0", 4)) || b.startsWith(QByteArray("MM\0*", 4))
        || b.startsWith(QByteArray("II+\0", 4)) || b.startsWith(QByteArray("MM\0+", 4));
}

// The bytes an icon's bitmap needs: header, palette and colour rows (the mask's rows
// are not required).
qint64 BytesDoBitmapDoIcone(const QByteArray& b, qint64 inicio, QSize lado)
{
    const qint64 cabecalho = LerU32(b, inicio);
    const int bits = LerU16(b, inicio + 14);
    const qint64 cores = bits <= 8 ? (LerU32(b, inicio + 32) ? LerU32(b, inicio + 32) : qint64(1) << bits) : 0;
    const qint64 linhaCor = BytesPorLinhaBmp(lado.width(), bits);
    return cabecalho + cores * 4 + linhaCor * lado.height();
}

// An icon's directory must point inside the file, each bitmap must hold the pixels it
// declares, and Qt decodes the largest image whole.
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
        const bool png = b.mid(inicio, 8) == QByteArray(ASSINATURA_PNG);
        if (png) {
            lado = QSize(static_cast<int>(LerU32BigEndian(b, inicio + 16) & 0x7FFFFFFF),
                         static_cast<int>(LerU32BigEndian(b, inicio + 20) & 0x7FFFFFFF));
        } else if (LerU32(b, inicio) == TAMANHO_CABECALHO_OS2) {
            lado = QSize(LerU16(b, inicio + 4), LerU16(b, inicio + 6) / 2);
        } else {
            // The height of an icon's bitmap counts its AND mask too.
            lado = QSize(LerS32(b, inicio + 4), static_cast<int>(qAbs(qint64(LerS32(b, inicio + 8))) / 2));
        }
        if (lado.width() <= 0 || lado.height() <= 0 || lado.width() > LADO_MAXIMO_FIGURA
            || lado.height() > LADO_MAXIMO_FIGURA) {
            return ERRO_CORROMPIDO;
        }
        if (!png && BytesDoBitmapDoIcone(b, inicio, lado) > tamanho) {
            return ERRO_CORROMPIDO;
        }
        if (!CabeNaMemoria(lado)) {
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
    const QSize tela(LerU16(b, 6), LerU16(b, 8));
    if (tela.isEmpty()) {
        return ERRO_CORROMPIDO;
    }
    // Qt's reader sizes its canvas from the logical screen, whatever the frames hold.
    if (!CabeNaMemoria(tela)) {
        return ERRO_GRANDE;
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

const char* FormatoQt(TipoFigura tipo)
{
    switch (tipo) {
    case TipoFigura::Icone:
        return "ico";
    case TipoFigura::Gif:
        return "gif";
    case TipoFigura::WebP:
        return "webp";
    case TipoFigura::Tiff:
        return "tiff";
    default:
        return "png";
    }
}

// Whether the marker occurs anywhere in the data, looked for from the end, where a
// whole file has it. libjpeg pads a cut JPEG with grey and calls it a success, and Qt
// shows a cut PNG with its missing rows blank, so a file without its end marker is
// refused.
bool TemMarcador(QIODevice& d, const QByteArray& marcador)
{
    const qint64 tamanho = d.size();
    for (qint64 fim = tamanho; fim > 0;) {
        const qint64 inicio = std::max<qint64>(0, fim - BLOCO_LEITURA);
        const qint64 ate = std::min(tamanho, fim + marcador.size() - 1);
        if (!d.seek(inicio)) {
            return false;
        }
        if (d.read(ate - inicio).contains(marcador)) {
            return true;
        }
        fim = inicio;
    }
    return false;
}

// Icons and cursors carry several sizes of one picture: the largest makes the best
// puzzle.
QImage MaiorIcone(QImageReader& leitor)
{
    QImage melhor;
    const int quantas = std::max(1, leitor.imageCount());
    for (int i = 0; i < quantas; ++i) {
        if (i > 0 && !leitor.jumpToImage(i)) {
            break;
        }
        const QImage imagem = leitor.read();
        if (!imagem.isNull() && qint64(imagem.width()) * imagem.height() > qint64(melhor.width()) * melhor.height()) {
            melhor = imagem;
        }
    }
    return melhor;
}

// The whole picture is decoded by Qt, then cropped or shrunk row by row. A picture too
// large to decode whole is refused, unless its reader can shrink it on the way (PNG).
ResultadoFigura LerComQt(QIODevice& d, TipoFigura tipo, const Ajuste& ajuste)
{
    LimitarAlocacaoDoQt();
    d.seek(0);
    QImageReader leitor(&d, FormatoQt(tipo));
    leitor.setAutoTransform(false);
    const QSize declarado = leitor.size();
    bool reduzidoNoCaminho = false;
    if (declarado.isValid() && !CabeNaMemoria(declarado) && tipo != TipoFigura::Icone) {
        if (!ajuste.reduzir || !leitor.supportsOption(QImageIOHandler::ScaledSize)) {
            return FalhaDeFigura(ERRO_GRANDE);
        }
        leitor.setScaledSize(TamanhoAjustado(declarado, ajuste));
        reduzidoNoCaminho = true;
    }
    QImage imagem = tipo == TipoFigura::Icone ? MaiorIcone(leitor) : leitor.read();
    if (imagem.isNull()) {
        return FalhaDeFigura(leitor.error() == QImageReader::UnsupportedFormatError ? ERRO_FORMATO : ERRO_CORROMPIDO);
    }
    imagem.convertTo(QImage::Format_ARGB32);
    if (reduzidoNoCaminho) {
        return {Figura{std::move(imagem), declarado, false}, {}};
    }
    const QSize natural = imagem.size();
    const std::unique_ptr<ReceptorDeLinhas> receptor = NovoReceptor(natural, ajuste);
    if (!receptor) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    for (int y = 0; y < imagem.height() && receptor->PrecisaDaLinha(y); ++y) {
        receptor->Receber(y, reinterpret_cast<const QRgb*>(imagem.constScanLine(y)), 0, imagem.width());
    }
    imagem = QImage(); // the whole picture goes before the crop or shrink is built
    QImage ajustada = receptor->Resultado();
    if (ajustada.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    return {Figura{std::move(ajustada), natural, false}, {}};
}

// Formats that are checked and decoded from bytes in memory.
ResultadoFigura LerInteiro(QIODevice& d, QByteArray& bytes)
{
    if (d.size() > TAMANHO_MAXIMO_FIGURA) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    if (auto* buffer = qobject_cast<QBuffer*>(&d)) {
        bytes = buffer->data();
        return {};
    }
    if (!d.seek(0)) {
        return FalhaDeFigura(ERRO_LEITURA);
    }
    bytes = d.readAll();
    return bytes.size() == d.size() ? ResultadoFigura{} : FalhaDeFigura(ERRO_LEITURA);
}

ResultadoFigura CarregarDoDispositivo(QIODevice& d, const Ajuste& ajuste)
{
    const QByteArray inicio = d.peek(TAMANHO_ASSINATURA);
    if (inicio.isEmpty()) {
        return FalhaDeFigura(d.size() == 0 ? ERRO_VAZIO : ERRO_LEITURA);
    }
    const TipoFigura tipo = TipoPeloConteudo(inicio);
    switch (tipo) {
    case TipoFigura::Desconhecido:
        return FalhaDeFigura(ERRO_FORMATO);
    case TipoFigura::Bmp:
        return DecodificarBmp(d, ajuste);
    case TipoFigura::Jpeg:
        if (!TemMarcador(d, QByteArray(FIM_JPEG)) || !d.seek(0)) {
            return FalhaDeFigura(ERRO_CORROMPIDO);
        }
        return DecodificarJpeg(d, ajuste);
    case TipoFigura::Png:
        if (!TemMarcador(d, QByteArray(FIM_PNG))) {
            return FalhaDeFigura(ERRO_CORROMPIDO);
        }
        return LerComQt(d, tipo, ajuste);
    case TipoFigura::WebP:
    case TipoFigura::Tiff:
        return LerComQt(d, tipo, ajuste);
    default:
        break;
    }
    QByteArray bytes;
    if (ResultadoFigura falha = LerInteiro(d, bytes); !falha.erro.isEmpty()) {
        return falha;
    }
    switch (tipo) {
    case TipoFigura::Wmf:
        return DecodificarWmf(bytes, ajuste);
    case TipoFigura::Emf:
        return DecodificarEmf(bytes, ajuste);
    case TipoFigura::Icone:
        if (const char* problema = ProblemaDoIcone(bytes)) {
            return FalhaDeFigura(problema);
        }
        break;
    default:
        if (const char* problema = ProblemaDoGif(bytes)) {
            return FalhaDeFigura(problema);
        }
    }
    return LerComQt(d, tipo, ajuste);
}

} // namespace

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
    if (EhWebP(b)) {
        return TipoFigura::WebP;
    }
    if (EhTiff(b)) {
        return TipoFigura::Tiff;
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

ResultadoFigura CarregarFiguraDeBytes(const QByteArray& bytes, const Ajuste& ajuste)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return CarregarDoDispositivo(buffer, ajuste);
}

} // namespace zelpo
