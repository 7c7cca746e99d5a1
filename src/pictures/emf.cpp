#include "pictures/emf.h"

#include "records/bytes.h"
#include "pictures/trabalho.h"

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <QTransform>
#include <QtEndian>

#include <emf2svg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>

namespace zelpo {

namespace {

constexpr quint32 EMR_HEADER = 1;
constexpr quint32 EMR_POLYBEZIER = 2, EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8;
constexpr quint32 EMR_EOF = 14;
constexpr quint32 EMR_ELLIPSE = 42, EMR_PIE = 47; // and the box shapes between them
constexpr quint32 EMR_FILLPATH = 62, EMR_STROKEPATH = 64;
constexpr quint32 EMR_BITBLT = 76, EMR_STRETCHDIBITS = 81;
constexpr quint32 EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84;
constexpr quint32 EMR_POLYBEZIER16 = 85, EMR_POLYLINETO16 = 89, EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91;
constexpr int TAMANHO_REGISTRO_FIM = 20;
constexpr qint64 TAMANHO_MINIMO_CABECALHO = 88;
constexpr int TAMANHO_MINIMO_REGISTRO = 8;
constexpr qreal CENTESIMOS_DE_MM_POR_POLEGADA = 2540;
constexpr qreal PIXELS_POR_POLEGADA_EMF = 96;

// Offsets in the header record.
constexpr int POS_LIMITES = 8;        // rclBounds, reference-device pixels
constexpr int POS_QUADRO = 24;        // rclFrame, hundredths of a millimetre
constexpr int POS_ASSINATURA = 40;
constexpr int POS_TAMANHO_ARQUIVO = 48;
constexpr int POS_REGISTROS = 52;
constexpr int POS_DISPOSITIVO_PX = 72; // szlDevice
constexpr int POS_DISPOSITIVO_MM = 80; // szlMillimeters

// Offsets in a drawing record.
constexpr int POS_LIMITES_DO_REGISTRO = 8; // rclBounds, device pixels
constexpr int POS_CONTAGEM = 24;           // polygons (or points) after the bounds
constexpr int POS_CARACTERES = 44;         // nChars of EXTTEXTOUT's text

// Work one picture may cost, in rough nanoseconds; see Orcamento.
constexpr qint64 TRABALHO_MAXIMO_EMF = 600'000'000;
constexpr qint64 CUSTO_REGISTRO_EMF = 100;
constexpr qint64 CUSTO_BYTE_EMF = 400;
constexpr qreal CUSTO_PIXEL_SUAVE = 1.0;
constexpr qint64 CUSTO_CRUZAMENTO_SUAVE = 240;
constexpr qint64 CUSTO_CARACTERE_EMF = 1000;
// Every bitmap a record carries is decoded by the SVG renderer, which keeps them all
// until the picture is drawn, and first converted by libemf2svg: a held ARGB32 picture
// and a passing copy of it.
constexpr qint64 BYTES_POR_PIXEL_EMBUTIDO = 8;
constexpr qint64 CUSTO_PIXEL_EMBUTIDO = 10;
constexpr quint32 BI_JPEG = 4, BI_PNG = 5;
constexpr int CABECALHO_BITMAP_CORE = 12;
constexpr int BUSCA_QUADRO_JPEG = 1 << 16; // bytes searched for a JPEG's frame header

// The records that carry a bitmap, and where in each the offset of its header lies.
struct RegistroDeBitmap {
    quint32 tipo;
    int posicaoDoCabecalho;
};
constexpr RegistroDeBitmap REGISTROS_DE_BITMAP[] = {
    {76, 84}, {77, 84}, {78, 84}, {79, 96}, {80, 48}, {81, 48}, // BITBLT .. STRETCHDIBITS
    {93, 16}, {94, 16},                                         // CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT
    {114, 84}, {116, 84},                                       // ALPHABLEND, TRANSPARENTBLT
};

struct CabecalhoEmf {
    QRectF limites;
    QRectF quadro;
    QSizeF dispositivoPx;
    QSizeF dispositivoMm;

    // Reference-device pixels per hundredth of a millimetre, when the header tells.
    std::optional<QPointF> PixelsPorCentesimo() const
    {
        if (dispositivoPx.isEmpty() || dispositivoMm.isEmpty()) {
            return std::nullopt;
        }
        return QPointF(dispositivoPx.width() / (dispositivoMm.width() * 100),
                       dispositivoPx.height() / (dispositivoMm.height() * 100));
    }
};

QRectF LerRetangulo(const QByteArray& b, qint64 pos)
{
    return QRectF(QPointF(LerS32(b, pos), LerS32(b, pos + 4)), QPointF(LerS32(b, pos + 8), LerS32(b, pos + 12)));
}

QSizeF LerTamanho(const QByteArray& b, qint64 pos)
{
    return QSizeF(LerS32(b, pos), LerS32(b, pos + 4));
}

// libemf2svg reads each record where the sizes say, so every record must lie inside the
// data, and the list must reach its end record.
const char* ProblemaDosRegistros(const QByteArray& b)
{
    if (LerU32(b, POS_TAMANHO_ARQUIVO) > quint64(b.size()) || LerU32(b, 4) < TAMANHO_MINIMO_CABECALHO) {
        return ERRO_CORROMPIDO;
    }
    qint64 pos = 0;
    while (pos + TAMANHO_MINIMO_REGISTRO <= b.size()) {
        const quint32 tipo = LerU32(b, pos);
        const qint64 tamanho = LerU32(b, pos + 4);
        if (tamanho < TAMANHO_MINIMO_REGISTRO || tamanho % 4 != 0 || pos + tamanho > b.size()) {
            return ERRO_CORROMPIDO;
        }
        if (tipo == EMR_EOF) {
            return nullptr;
        }
        pos += tamanho;
    }
    return ERRO_CORROMPIDO;
}

// The natural size comes from the frame (rclFrame) rather than the bounds (rclBounds):
// the frame is the picture as its author framed it, margins included, in physical units,
// so the size does not depend on the device the file was recorded on; the bounds are
// only the extent of the ink in that device's pixels, and some writers leave them empty.
// The bounds serve only when the frame is empty.
QSize TamanhoNatural(const CabecalhoEmf& c)
{
    QSizeF centesimos = c.quadro.size();
    if (centesimos.isEmpty()) {
        const auto escala = c.PixelsPorCentesimo();
        centesimos = escala ? QSizeF(c.limites.width() / escala->x(), c.limites.height() / escala->y())
                            : c.limites.size() * (CENTESIMOS_DE_MM_POR_POLEGADA / PIXELS_POR_POLEGADA_EMF);
    }
    const qreal fator = PIXELS_POR_POLEGADA_EMF / CENTESIMOS_DE_MM_POR_POLEGADA;
    return QSize(qMax(1, qRound(qAbs(centesimos.width()) * fator)), qMax(1, qRound(qAbs(centesimos.height()) * fator)));
}

// The converter draws in reference-device pixels with the bounds' top-left corner moved
// to the origin (unless it judges the y axis of the file broken, when nothing is moved).
// The frame, taken to the same pixels, is the part of the drawing that makes the picture.
QRectF QuadroNoDispositivo(const CabecalhoEmf& c)
{
    if (const auto escala = c.PixelsPorCentesimo(); escala && !c.quadro.isEmpty()) {
        return QRectF(c.quadro.left() * escala->x(), c.quadro.top() * escala->y(), c.quadro.width() * escala->x(),
                      c.quadro.height() * escala->y());
    }
    return c.limites;
}

QRectF QuadroNoSvg(const CabecalhoEmf& c)
{
    const QRectF quadro = QuadroNoDispositivo(c);
    const bool eixoYQuebrado = (c.limites.top() < 0 && c.limites.bottom() > 0)
        || (c.limites.top() > 0 && c.limites.bottom() < 0);
    return eixoYQuebrado ? quadro : quadro.translated(-c.limites.topLeft());
}

// The converter takes a mutable buffer: data() copies the records only when they are
// still shared with the caller's, not when they are a cut of them made for the converter.
QByteArray ConverterEmSvg(QByteArray emf, const CabecalhoEmf& c)
{
    generatorOptions opcoes{};
    // Version 1.1.0 closes some elements (clipPath, defs) without the namespace prefix
    // it opened them with, which is not XML; with no prefix at all the tags match.
    opcoes.nameSpace = nullptr;
    opcoes.verbose = false;
    // EMF+ files also carry plain records, which the converter handles better.
    opcoes.emfplus = false;
    opcoes.svgDelimiter = true;
    // One SVG unit to the reference-device pixel.
    opcoes.imgWidth = qAbs(c.limites.width());
    opcoes.imgHeight = qAbs(c.limites.height());
    char* saida = nullptr;
    size_t tamanho = 0;
    const int ok = emf2svg(emf.data(), static_cast<size_t>(emf.size()), &saida, &tamanho, &opcoes);
    QByteArray svg;
    if (saida) {
        svg = QByteArray(saida, static_cast<qsizetype>(tamanho));
        std::free(saida);
    }
    return ok ? svg : QByteArray();
}

// The work of one picture, counted before the records go to the converter: each record
// its bytes (converting them and reading the SVG back) and what drawing it will cost.
// Shapes whose box is in the records' own units, which only the whole device context
// could map, are priced as if they filled the picture; the poly records carry their bounds
// in device pixels, which place their vertices on the picture's rows. Qt's SVG renderer
// smooths every edge, which costs about twenty times what a plain fill does.
class Orcamento {
public:
    Orcamento(const CabecalhoEmf& c, QSize imagem, QSize alvo) : area_(QPoint(0, 0), imagem)
    {
        const QRectF quadro = QuadroNoDispositivo(c);
        paraImagem_.scale(alvo.width() / quadro.width(), alvo.height() / quadro.height());
        paraImagem_.translate(-quadro.left(), -quadro.top());
    }

    qint64 Custo(const QByteArray& b, qint64 pos, quint32 tipo, qint64 tamanho) const
    {
        qint64 custo = CUSTO_REGISTRO_EMF + tamanho * CUSTO_BYTE_EMF;
        if (tipo >= EMR_ELLIPSE && tipo <= EMR_PIE) {
            return custo + Area(area_);
        }
        const QRectF limites = paraImagem_.mapRect(LerRetangulo(b, pos + POS_LIMITES_DO_REGISTRO));
        custo += tipo == EMR_EXTTEXTOUTA || tipo == EMR_EXTTEXTOUTW ? LerU32(b, pos + POS_CARACTERES) * CUSTO_CARACTERE_EMF : 0;
        if (const auto formato = FormatoDosPontos(tipo)) {
            custo += CUSTO_CRUZAMENTO_SUAVE * Cruzamentos(b, pos, *formato, limites);
        }
        const bool desenha = FormatoDosPontos(tipo) || (tipo >= EMR_FILLPATH && tipo <= EMR_STROKEPATH)
            || tipo == EMR_EXTTEXTOUTA || tipo == EMR_EXTTEXTOUTW || (tipo >= EMR_BITBLT && tipo <= EMR_STRETCHDIBITS);
        return custo + (desenha ? Area(limites) : 0);
    }

private:
    struct FormatoPontos {
        bool varios;   // several polygons, with their counts before the points
        int bytes;     // per coordinate
    };

    static std::optional<FormatoPontos> FormatoDosPontos(quint32 tipo)
    {
        if (tipo >= EMR_POLYBEZIER && tipo <= EMR_POLYLINETO) {
            return FormatoPontos{false, 4};
        }
        if (tipo == EMR_POLYPOLYLINE || tipo == EMR_POLYPOLYGON) {
            return FormatoPontos{true, 4};
        }
        if (tipo >= EMR_POLYBEZIER16 && tipo <= EMR_POLYLINETO16) {
            return FormatoPontos{false, 2};
        }
        if (tipo == EMR_POLYPOLYLINE16 || tipo == EMR_POLYPOLYGON16) {
            return FormatoPontos{true, 2};
        }
        return std::nullopt;
    }

    qint64 Area(const QRectF& caixa) const
    {
        const QRectF visivel = caixa.intersected(area_);
        const qreal pixels = visivel.width() * visivel.height();
        return std::isfinite(pixels) && pixels > 0 ? static_cast<qint64>(CUSTO_PIXEL_SUAVE * pixels) : 0;
    }

    // The vertices' own y range stretched over the record's bounds on the picture; with
    // no usable bounds, over the whole height.
    qint64 Cruzamentos(const QByteArray& b, qint64 pos, FormatoPontos f, QRectF limites) const
    {
        const qint64 poligonos = f.varios ? LerU32(b, pos + POS_CONTAGEM) : 1;
        const qint64 pontos = LerU32(b, pos + POS_CONTAGEM + (f.varios ? 4 : 0));
        const qint64 primeiro = pos + POS_CONTAGEM + (f.varios ? 8 + 4 * poligonos : 4);
        const qint64 tamanho = LerU32(b, pos + 4);
        if (pontos <= 0 || poligonos <= 0 || primeiro + pontos * 2 * f.bytes > pos + tamanho) {
            return 0;
        }
        const auto y = [&](qint64 i) {
            const qint64 onde = primeiro + (2 * i + 1) * f.bytes;
            return f.bytes == 2 ? qreal(LerS16(b, onde)) : qreal(LerS32(b, onde));
        };
        qreal menor = y(0), maior = y(0);
        for (qint64 i = 1; i < pontos; ++i) {
            menor = std::min(menor, y(i));
            maior = std::max(maior, y(i));
        }
        if (limites.height() <= 0) {
            limites = area_;
        }
        const qreal escala = maior > menor ? limites.height() / (maior - menor) : 0;
        ContadorDeArestas arestas(area_.height());
        QPolygonF poligono;
        qint64 restantes = f.varios ? LerU32(b, pos + POS_CONTAGEM + 8) : pontos;
        for (qint64 i = 0, k = 0; i < pontos; ++i) {
            poligono.append(QPointF(0, limites.top() + (y(i) - menor) * escala));
            if (--restantes <= 0 || i + 1 == pontos) {
                arestas.Acrescentar(poligono, true);
                poligono.clear();
                restantes = ++k < poligonos ? LerU32(b, pos + POS_CONTAGEM + 8 + 4 * k) : pontos;
            }
        }
        return arestas.Cruzamentos();
    }

    QRect area_;
    QTransform paraImagem_;
};

// The pixels of a JPEG's frame header, 0 if none is found.
qint64 PixelsDoJpeg(const QByteArray& b, qint64 inicio, qint64 fim)
{
    for (qint64 i = inicio; i + 9 <= std::min(fim, inicio + BUSCA_QUADRO_JPEG); ++i) {
        const int marcador = LerU8(b, i + 1);
        const bool quadro = marcador >= 0xC0 && marcador <= 0xCF && marcador != 0xC4 && marcador != 0xC8
                            && marcador != 0xCC;
        if (LerU8(b, i) == 0xFF && quadro)
            return qint64(LerU8(b, i + 5) << 8 | LerU8(b, i + 6)) * (LerU8(b, i + 7) << 8 | LerU8(b, i + 8));
    }
    return 0;
}

// The pixels of the bitmap a record carries: those its header declares, or those of the
// PNG or JPEG it embeds, whichever is more.
qint64 PixelsDoBitmap(const QByteArray& b, qint64 pos, quint32 tipo, qint64 tamanho)
{
    const auto registro = std::find_if(std::begin(REGISTROS_DE_BITMAP), std::end(REGISTROS_DE_BITMAP),
                                       [tipo](const RegistroDeBitmap& r) { return r.tipo == tipo; });
    if (registro == std::end(REGISTROS_DE_BITMAP) || registro->posicaoDoCabecalho + 16 > tamanho)
        return 0;
    const qint64 cabecalho = pos + LerU32(b, pos + registro->posicaoDoCabecalho);
    const qint64 dados = pos + LerU32(b, pos + registro->posicaoDoCabecalho + 8);
    const qint64 fim = pos + tamanho;
    if (cabecalho + CABECALHO_BITMAP_CORE > fim)
        return 0;
    if (LerU32(b, cabecalho) == CABECALHO_BITMAP_CORE)
        return qint64(LerU16(b, cabecalho + 4)) * LerU16(b, cabecalho + 6);
    qint64 pixels = qAbs(qint64(LerS32(b, cabecalho + 4))) * qAbs(qint64(LerS32(b, cabecalho + 8)));
    const quint32 compressao = LerU32(b, cabecalho + 16);
    if (compressao == BI_PNG && dados + 24 <= fim)
        pixels = std::max(pixels, qint64(LerU32BigEndian(b, dados + 16)) * LerU32BigEndian(b, dados + 20));
    if (compressao == BI_JPEG)
        pixels = std::max(pixels, PixelsDoJpeg(b, dados, fim));
    return pixels;
}

// The records up to the one that would spend the picture's work, and an end record: the
// picture shows what its first records draw. Nothing when the bitmaps of those records
// need more memory than a picture may hold.
QByteArray DentroDoOrcamento(const QByteArray& b, const Orcamento& orcamento)
{
    qint64 trabalho = 0, registros = 0, memoria = 0;
    for (qint64 pos = LerU32(b, 4); pos + TAMANHO_MINIMO_REGISTRO <= b.size(); ++registros) {
        const quint32 tipo = LerU32(b, pos);
        const qint64 tamanho = LerU32(b, pos + 4);
        if (tipo == EMR_EOF) {
            return b;
        }
        const qint64 pixels = PixelsDoBitmap(b, pos, tipo, tamanho);
        trabalho += orcamento.Custo(b, pos, tipo, tamanho) + pixels * CUSTO_PIXEL_EMBUTIDO;
        memoria += pixels * BYTES_POR_PIXEL_EMBUTIDO;
        if (memoria > MEMORIA_MAXIMA_FIGURA)
            return {};
        if (trabalho > TRABALHO_MAXIMO_EMF) {
            QByteArray cortado = b.left(pos) + QByteArray(TAMANHO_REGISTRO_FIM, '\0');
            const quint32 fim[] = {EMR_EOF, TAMANHO_REGISTRO_FIM, 0, 16, TAMANHO_REGISTRO_FIM};
            qToLittleEndian<quint32>(fim, std::size(fim), cortado.data() + pos);
            qToLittleEndian<quint32>(static_cast<quint32>(cortado.size()), cortado.data() + POS_TAMANHO_ARQUIVO);
            qToLittleEndian<quint32>(static_cast<quint32>(registros + 1), cortado.data() + POS_REGISTROS);
            return cortado;
        }
        pos += tamanho;
    }
    return b;
}

// The frame stretched over `alvo`, of which the image keeps the top-left part.
QImage DesenharSvg(QSvgRenderer& desenhista, QSize imagem, QSize alvo)
{
    QImage desenho(imagem, QImage::Format_ARGB32_Premultiplied);
    if (desenho.isNull()) {
        return {};
    }
    desenho.fill(Qt::transparent);
    QPainter pintor(&desenho);
    desenhista.render(&pintor, QRectF(QPointF(0, 0), QSizeF(alvo)));
    pintor.end();
    return desenho.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

bool PareceEmf(const QByteArray& bytes)
{
    return bytes.size() >= TAMANHO_MINIMO_CABECALHO && LerU32(bytes, 0) == EMR_HEADER
        && LerU32(bytes, POS_ASSINATURA) == ASSINATURA_EMF;
}

ResultadoFigura DecodificarEmf(const QByteArray& bytes, const Ajuste& ajuste)
{
    if (!PareceEmf(bytes)) {
        return FalhaDeFigura(ERRO_FORMATO);
    }
    if (const char* problema = ProblemaDosRegistros(bytes)) {
        return FalhaDeFigura(problema);
    }
    const CabecalhoEmf c{LerRetangulo(bytes, POS_LIMITES), LerRetangulo(bytes, POS_QUADRO),
                         LerTamanho(bytes, POS_DISPOSITIVO_PX), LerTamanho(bytes, POS_DISPOSITIVO_MM)};
    // The converter divides by the bounds' height; empty bounds leave nothing to draw.
    if (c.limites.width() == 0 || c.limites.height() == 0) {
        return FalhaDeFigura(ERRO_CORROMPIDO);
    }
    const QSize natural = TamanhoNatural(c);
    // Drawn at the size the board keeps: shrunk, the whole frame over the smaller
    // picture; cropped, at its natural scale with only the top-left part kept.
    const QSize imagem = TamanhoAjustado(natural, ajuste);
    const QSize alvo = ajuste.reduzir ? imagem : natural;
    QByteArray registros = DentroDoOrcamento(bytes, Orcamento(c, imagem, alvo));
    if (registros.isEmpty()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    const QByteArray svg = ConverterEmSvg(std::move(registros), c);
    QSvgRenderer desenhista(svg);
    if (svg.isEmpty() || !desenhista.isValid()) {
        return FalhaDeFigura(ERRO_CORROMPIDO);
    }
    desenhista.setViewBox(QuadroNoSvg(c));
    QImage desenho = DesenharSvg(desenhista, imagem, alvo);
    if (desenho.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    return {Figura{std::move(desenho), natural, true}, {}};
}

} // namespace zelpo
