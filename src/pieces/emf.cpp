#include "pieces/emf.h"

#include "pieces/bytes.h"

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

#include <emf2svg.h>

#include <cstdlib>
#include <optional>

namespace zelpo {

namespace {

constexpr quint32 EMR_HEADER = 1;
constexpr quint32 EMR_EOF = 14;
constexpr qint64 TAMANHO_MINIMO_CABECALHO = 88;
constexpr int TAMANHO_MINIMO_REGISTRO = 8;
constexpr qreal CENTESIMOS_DE_MM_POR_POLEGADA = 2540;
constexpr qreal PIXELS_POR_POLEGADA_EMF = 96;

// Offsets in the header record.
constexpr int POS_LIMITES = 8;        // rclBounds, reference-device pixels
constexpr int POS_QUADRO = 24;        // rclFrame, hundredths of a millimetre
constexpr int POS_ASSINATURA = 40;
constexpr int POS_TAMANHO_ARQUIVO = 48;
constexpr int POS_DISPOSITIVO_PX = 72; // szlDevice
constexpr int POS_DISPOSITIVO_MM = 80; // szlMillimeters

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

QByteArray ConverterEmSvg(const QByteArray& bytes, const CabecalhoEmf& c)
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
    QByteArray copia(bytes.constData(), bytes.size()); // the converter takes a mutable buffer
    char* saida = nullptr;
    size_t tamanho = 0;
    const int ok = emf2svg(copia.data(), static_cast<size_t>(copia.size()), &saida, &tamanho, &opcoes);
    QByteArray svg;
    if (saida) {
        svg = QByteArray(saida, static_cast<qsizetype>(tamanho));
        std::free(saida);
    }
    return ok ? svg : QByteArray();
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
    const QByteArray svg = ConverterEmSvg(bytes, c);
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
