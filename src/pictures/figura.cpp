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

constexpr int LIMITE_ALOCACAO_QT_MB = static_cast<int>(MEMORIA_MAXIMA_FIGURA / (1024 * 1024));
// What Qt's readers hold a pixel in: ARGB32; GIF keeps the frame before the current one
// too; 16-bit PNG four 16-bit channels; TIFF may hold a whole uncompressed strip beside
// the picture; libwebp keeps rows of its own.
constexpr int BYTES_POR_PIXEL = 4;
constexpr int BYTES_POR_PIXEL_GIF = 8;
constexpr int BYTES_POR_PIXEL_PNG_16 = 8;
constexpr int BYTES_POR_PIXEL_TIFF = 8;
constexpr int BYTES_POR_PIXEL_WEBP = 6;
constexpr int BYTES_POR_PIXEL_ICONE = 5; // the colours and the AND mask
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

bool CabeNaMemoria(QSize tamanho, int bytesPorPixel)
{
    return qint64(tamanho.width()) * tamanho.height() * bytesPorPixel <= MEMORIA_MAXIMA_FIGURA;
}

bool CabeNoTrabalho(QSize tamanho)
{
    return qint64(tamanho.width()) * tamanho.height() <= PIXELS_MAXIMOS_FIGURA;
}

// A PNG as Qt's reader holds it: 16-bit channels as 16 bits, anything else as ARGB32
// (the allocation limit Qt applies counts grey and palette pictures so too).
int BytesPorPixelPng(const QByteArray& b)
{
    constexpr int POS_PROFUNDIDADE = 24;
    return LerU8(b, POS_PROFUNDIDADE) == 16 ? BYTES_POR_PIXEL_PNG_16 : BYTES_POR_PIXEL;
}

// Qt's PNG reader shrinks on the way, row by row, only 8-bit colour pictures stored
// without interlacing.
bool PngReduzidoNoCaminho(const QByteArray& b)
{
    constexpr int POS_ENTRELACAMENTO = 28, RGB = 2, RGBA = 6;
    const int tipo = LerU8(b, 25);
    return LerU8(b, 24) == 8 && (tipo == RGB || tipo == RGBA) && LerU8(b, POS_ENTRELACAMENTO) == 0;
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

struct EntradaIcone {
    qint64 posicao = 0; // of its directory entry
    qint64 inicio = 0;
    qint64 tamanho = 0;
    QSize lado;
    bool png = false;
};

// Icons and cursors carry several sizes of one picture: the largest makes the best
// puzzle, and only it is decoded. The directory must point inside the file and each
// image must hold the pixels it declares, up to ENTRADAS_MAXIMAS_ICONE entries; the first
// of equal sizes wins.
const char* EscolherIcone(const QByteArray& b, EntradaIcone& maior)
{
    const int quantas = std::min<int>(LerU16(b, 4), ENTRADAS_MAXIMAS_ICONE);
    if (TAMANHO_DIRETORIO_ICONE + qint64(quantas) * TAMANHO_ENTRADA_ICONE > b.size()) {
        return ERRO_CORROMPIDO;
    }
    for (int i = 0; i < quantas; ++i) {
        EntradaIcone e;
        e.posicao = TAMANHO_DIRETORIO_ICONE + qint64(i) * TAMANHO_ENTRADA_ICONE;
        e.tamanho = LerU32(b, e.posicao + 8);
        e.inicio = LerU32(b, e.posicao + 12);
        if (e.tamanho < 12 || e.inicio + e.tamanho > b.size()) {
            return ERRO_CORROMPIDO;
        }
        e.png = b.mid(e.inicio, 8) == QByteArray(ASSINATURA_PNG);
        if (e.png) {
            e.lado = QSize(static_cast<int>(LerU32BigEndian(b, e.inicio + 16) & 0x7FFFFFFF),
                           static_cast<int>(LerU32BigEndian(b, e.inicio + 20) & 0x7FFFFFFF));
        } else if (LerU32(b, e.inicio) == TAMANHO_CABECALHO_OS2) {
            e.lado = QSize(LerU16(b, e.inicio + 4), LerU16(b, e.inicio + 6) / 2);
        } else {
            // The height of an icon's bitmap counts its AND mask too.
            e.lado = QSize(LerS32(b, e.inicio + 4), static_cast<int>(qAbs(qint64(LerS32(b, e.inicio + 8))) / 2));
        }
        if (e.lado.width() <= 0 || e.lado.height() <= 0 || e.lado.width() > LADO_MAXIMO_FIGURA
            || e.lado.height() > LADO_MAXIMO_FIGURA) {
            return ERRO_CORROMPIDO;
        }
        if (!e.png && BytesDoBitmapDoIcone(b, e.inicio, e.lado) > e.tamanho) {
            return ERRO_CORROMPIDO;
        }
        if (i == 0 || qint64(e.lado.width()) * e.lado.height() > qint64(maior.lado.width()) * maior.lado.height()) {
            maior = e;
        }
    }
    return nullptr;
}

// The chosen image alone: a PNG as it is, a bitmap in an icon of one entry.
QByteArray BytesDoIcone(const QByteArray& b, const EntradaIcone& e)
{
    if (e.png) {
        return b.mid(e.inicio, e.tamanho);
    }
    QByteArray um = b.left(TAMANHO_DIRETORIO_ICONE) + b.mid(e.posicao, TAMANHO_ENTRADA_ICONE);
    um[4] = 1;
    um[5] = 0;
    const qint64 inicio = TAMANHO_DIRETORIO_ICONE + TAMANHO_ENTRADA_ICONE;
    for (int i = 0; i < 4; ++i) {
        um[TAMANHO_DIRETORIO_ICONE + 12 + i] = static_cast<char>((inicio >> (8 * i)) & 0xFF);
    }
    return um + b.mid(e.inicio, e.tamanho);
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
    if (!CabeNaMemoria(tela, BYTES_POR_PIXEL_GIF) || !CabeNoTrabalho(tela)) {
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

// Row y as ARGB32, converted a row at a time, so that no second picture-sized copy is
// ever made.
const QRgb* LinhaArgb(const QImage& imagem, int y, QImage& linha)
{
    if (imagem.format() == QImage::Format_ARGB32 || imagem.format() == QImage::Format_RGB32) {
        return reinterpret_cast<const QRgb*>(imagem.constScanLine(y));
    }
    linha = imagem.copy(0, y, imagem.width(), 1).convertToFormat(QImage::Format_ARGB32);
    return reinterpret_cast<const QRgb*>(linha.constScanLine(0));
}

// How a Qt reader may take a picture: the bytes it holds a pixel in, and whether it can
// shrink the picture on the way.
struct LeituraQt {
    int bytesPorPixel = BYTES_POR_PIXEL;
    bool reduzNoCaminho = false;
};

LeituraQt ComoLer(TipoFigura tipo, const QByteArray& inicio)
{
    switch (tipo) {
    case TipoFigura::Png:
        return {BytesPorPixelPng(inicio), PngReduzidoNoCaminho(inicio)};
    case TipoFigura::Gif:
        return {BYTES_POR_PIXEL_GIF, false};
    case TipoFigura::Tiff:
        return {BYTES_POR_PIXEL_TIFF, false};
    case TipoFigura::WebP:
        return {BYTES_POR_PIXEL_WEBP, false};
    default:
        return {BYTES_POR_PIXEL_ICONE, false};
    }
}

// The whole picture is decoded by Qt, then cropped or shrunk row by row. A picture too
// large to decode whole is refused, unless its reader can shrink it on the way.
ResultadoFigura LerComQt(QIODevice& d, TipoFigura tipo, const Ajuste& ajuste)
{
    LimitarAlocacaoDoQt();
    d.seek(0);
    const LeituraQt como = ComoLer(tipo, d.peek(TAMANHO_ASSINATURA * 64));
    QImageReader leitor(&d, FormatoQt(tipo));
    leitor.setAutoTransform(false);
    const QSize declarado = leitor.size();
    bool reduzidoNoCaminho = false;
    if (declarado.isValid() && !CabeNoTrabalho(declarado)) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    if (declarado.isValid() && !CabeNaMemoria(declarado, como.bytesPorPixel)) {
        if (!ajuste.reduzir || !como.reduzNoCaminho) {
            return FalhaDeFigura(ERRO_GRANDE);
        }
        // Qt's shrink on the way works about twice as hard a pixel as our decoders.
        if (2 * qint64(declarado.width()) * declarado.height() > PIXELS_MAXIMOS_FIGURA) {
            return FalhaDeFigura(ERRO_GRANDE);
        }
        leitor.setScaledSize(TamanhoAjustado(declarado, ajuste));
        reduzidoNoCaminho = true;
    }
    QImage imagem = leitor.read();
    if (imagem.isNull() && declarado.isValid() && !reduzidoNoCaminho && !CabeNaMemoria(declarado, BYTES_POR_PIXEL)) {
        return FalhaDeFigura(ERRO_GRANDE); // refused by Qt's own allocation limit
    }
    if (imagem.isNull()) {
        return FalhaDeFigura(leitor.error() == QImageReader::UnsupportedFormatError ? ERRO_FORMATO : ERRO_CORROMPIDO);
    }
    if (reduzidoNoCaminho) {
        imagem.convertTo(QImage::Format_ARGB32);
        return {Figura{std::move(imagem), declarado, false}, {}};
    }
    const QSize natural = imagem.size();
    const std::unique_ptr<ReceptorDeLinhas> receptor = NovoReceptor(natural, ajuste);
    if (!receptor) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    QImage linha;
    for (int y = 0; y < imagem.height() && receptor->PrecisaDaLinha(y); ++y) {
        receptor->Receber(y, LinhaArgb(imagem, y, linha), 0, imagem.width());
    }
    imagem = QImage(); // the whole picture goes before the crop or shrink is built
    QImage ajustada = receptor->Resultado();
    if (ajustada.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    return {Figura{std::move(ajustada), natural, false}, {}};
}

ResultadoFigura LerIcone(const QByteArray& bytes, const Ajuste& ajuste)
{
    EntradaIcone maior;
    if (const char* problema = EscolherIcone(bytes, maior)) {
        return FalhaDeFigura(problema);
    }
    if (!maior.png && (!CabeNaMemoria(maior.lado, BYTES_POR_PIXEL_ICONE) || !CabeNoTrabalho(maior.lado))) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    QBuffer buffer;
    buffer.setData(BytesDoIcone(bytes, maior));
    buffer.open(QIODevice::ReadOnly);
    return LerComQt(buffer, maior.png ? TipoFigura::Png : TipoFigura::Icone, ajuste);
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
        return LerIcone(bytes, ajuste);
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
