#include "pictures/wmf_estado.h"

#include "pictures/bmp.h"
#include "pictures/figura.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelpo::wmf_interno {

namespace {

constexpr quint16 TA_UPDATECP = 0x0001, TA_RIGHT = 0x0002, TA_CENTER = 0x0006, TA_HORIZONTAL = 0x0006;
constexpr quint16 TA_BOTTOM = 0x0008, TA_BASELINE = 0x0018, TA_VERTICAL = 0x0018;
constexpr quint16 ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004;
constexpr quint32 PATCOPY = 0x00F00021, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;
constexpr int TAMANHO_MAXIMO_TEXTO_BYTES = 32767;
// A character of text costs this, and half a unit per pixel of its glyph's square.
constexpr qint64 CUSTO_CARACTERE = 1000;
constexpr qreal CUSTO_PIXEL_DE_GLIFO = 0.5;
// Bitmaps are decoded no larger than the box they are drawn into, nor than this.
constexpr int LADO_MAXIMO_BITMAP = 2048;

} // namespace

void Tocador::Tocar()
{
    PercorrerRegistros(wmf_.bytes, wmf_.primeiroRegistro, [this](quint16 funcao, const Parametros& p) {
        trabalho_ += CUSTO_REGISTRO;
        if (trabalho_ > TRABALHO_MAXIMO) {
            return false;
        }
        Executar(funcao, p);
        return true;
    });
}

// Records no group takes (mapping mode, raster operation, escapes, palettes) draw
// nothing and are skipped.
void Tocador::Executar(quint16 funcao, const Parametros& p)
{
    using Grupo = bool (Tocador::*)(quint16, const Parametros&);
    static constexpr Grupo grupos[] = {&Tocador::ExecutarMapeamento, &Tocador::ExecutarEstado,
                                       &Tocador::ExecutarObjeto, &Tocador::ExecutarDesenho,
                                       &Tocador::ExecutarTextoEImagem};
    for (const Grupo grupo : grupos) {
        if ((this->*grupo)(funcao, p)) {
            return;
        }
    }
}

bool Tocador::ExecutarDesenho(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_MOVETO: c_.posicao = p.PontoYX(0); return true;
    case META_LINETO: LinhaAte(p); return true;
    case META_POLYGON: Poligono(p, true); return true;
    case META_POLYLINE: Poligono(p, false); return true;
    case META_POLYPOLYGON: PoliPoligono(p); return true;
    case META_RECTANGLE:
    case META_ELLIPSE: Caixa(p, funcao); return true;
    case META_ROUNDRECT: RetanguloArredondado(p); return true;
    case META_ARC:
    case META_PIE:
    case META_CHORD: Arco(p, funcao); return true;
    case META_SETPIXEL: Pixel(p); return true;
    default: return false;
    }
}

bool Tocador::ExecutarTextoEImagem(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_TEXTOUT: TextoSimples(p); return true;
    case META_EXTTEXTOUT: TextoEstendido(p); return true;
    case META_PATBLT: Preencher(p, p.U32(0), QRectF(p.PontoYX(4), QSizeF(p.S(3), p.S(2)))); return true;
    case META_STRETCHDIB:
        Bitmap(p, 11, QRect(p.S(6), p.S(5), p.S(4), p.S(3)), QRectF(p.PontoYX(9), QSizeF(p.S(8), p.S(7))));
        return true;
    case META_DIBSTRETCHBLT: BlocoEsticado(p); return true;
    case META_DIBBITBLT: Bloco(p); return true;
    default: return false;
    }
}

void Tocador::Caixa(const Parametros& p, quint16 funcao)
{
    const QRectF caixa = Retangulo(p, 0);
    if (!Custear(caixa)) {
        return;
    }
    UsarCaneta();
    UsarPincel();
    if (funcao == META_ELLIPSE) {
        p_.drawEllipse(caixa);
    } else {
        p_.drawRect(caixa);
    }
}

void Tocador::LinhaAte(const Parametros& p)
{
    const QPointF de = Mapear(c_.posicao), ate = Mapear(p.PontoYX(0));
    c_.posicao = p.PontoYX(0);
    if (Custear({}, CustoDasArestas({QPolygonF({de, ate})}, false))) {
        UsarCaneta();
        p_.drawLine(de, ate);
    }
}

// The corner is an ellipse of the given width and height, so its radii are halves.
void Tocador::RetanguloArredondado(const Parametros& p)
{
    const QRectF caixa = Retangulo(p, 2);
    if (!Custear(caixa)) {
        return;
    }
    UsarCaneta();
    UsarPincel();
    p_.drawRoundedRect(caixa, qAbs(p.S(1) * EscalaX()) / 2, qAbs(p.S(0) * EscalaY()) / 2);
}

// However small the picture, a pixel stays visible.
void Tocador::Pixel(const Parametros& p)
{
    const QRectF caixa(Mapear(p.PontoYX(2)), QSizeF(qMax(1.0, qAbs(EscalaX())), qMax(1.0, qAbs(EscalaY()))));
    if (Custear(caixa)) {
        p_.fillRect(caixa, p.Cor(0));
    }
}

void Tocador::Poligono(const Parametros& p, bool fechado)
{
    const int n = p.S(0);
    if (n <= 0 || p.Palavras() < 1 + 2 * qint64(n)) {
        return;
    }
    QPolygonF pontos;
    pontos.reserve(n);
    for (int i = 0; i < n; ++i) {
        pontos.append(Mapear(QPointF(p.S(1 + 2 * i), p.S(2 + 2 * i))));
    }
    if (!Custear(fechado ? pontos.boundingRect() : QRectF(), CustoDasArestas({pontos}, fechado))) {
        return;
    }
    UsarCaneta();
    if (fechado) {
        UsarPincel();
        p_.drawPolygon(pontos, c_.preenchimento);
    } else {
        p_.drawPolyline(pontos);
    }
}

void Tocador::PoliPoligono(const Parametros& p)
{
    const int poligonos = p.S(0);
    if (poligonos <= 0 || p.Palavras() < 1 + qint64(poligonos)) {
        return;
    }
    QPainterPath caminho;
    caminho.setFillRule(c_.preenchimento);
    qint64 palavra = 1 + poligonos;
    std::vector<QPolygonF> partes;
    for (int k = 0; k < poligonos; ++k) {
        const int n = qMax<int>(0, p.S(1 + k));
        if (palavra + 2 * qint64(n) > p.Palavras()) {
            return;
        }
        QPolygonF pontos;
        for (int i = 0; i < n; ++i, palavra += 2) {
            pontos.append(Mapear(QPointF(p.S(palavra), p.S(palavra + 1))));
        }
        caminho.addPolygon(pontos);
        caminho.closeSubpath();
        partes.push_back(std::move(pontos));
    }
    if (!Custear(caminho.boundingRect(), CustoDasArestas(partes, true))) {
        return;
    }
    UsarCaneta();
    UsarPincel();
    p_.drawPath(caminho);
}

// ARC, PIE and CHORD: an ellipse's box and two points whose rays from the centre mark
// where the curve starts and ends, counter-clockwise on the screen. The angles are those
// of the ellipse's parameter, which is what Qt's arcs take.
void Tocador::Arco(const Parametros& p, quint16 funcao)
{
    const QRectF caixa = Retangulo(p, 4);
    if (caixa.width() <= 0 || caixa.height() <= 0 || !Custear(caixa)) {
        return;
    }
    const QPointF centro = caixa.center();
    const auto angulo = [&](QPointF ponto) {
        return std::atan2(-(ponto.y() - centro.y()) / (caixa.height() / 2), (ponto.x() - centro.x()) / (caixa.width() / 2))
            * 180 / std::numbers::pi;
    };
    const qreal inicio = angulo(Mapear(p.PontoYX(2)));
    qreal varredura = std::fmod(angulo(Mapear(p.PontoYX(0))) - inicio + 720, 360);
    if (varredura <= 1e-9) {
        varredura = 360; // both rays alike: the whole ellipse
    }
    QPainterPath caminho;
    if (funcao == META_PIE) {
        caminho.moveTo(centro);
    } else {
        caminho.arcMoveTo(caixa, inicio);
    }
    caminho.arcTo(caixa, inicio, varredura);
    UsarCaneta();
    if (funcao == META_ARC) {
        p_.setBrush(Qt::NoBrush);
    } else {
        caminho.closeSubpath();
        UsarPincel();
    }
    p_.drawPath(caminho);
}

// Text hangs from its reference point as the alignment says, turned by the font's
// escapement; `avancos` (from EXTTEXTOUT) place each character in logical units.
void Tocador::Texto(QPointF origem, const QByteArray& bytes, const std::vector<qint16>& avancos)
{
    const QString texto = TextoAnsi(bytes);
    const bool usarPosicao = c_.alinhamentoTexto & TA_UPDATECP;
    const QFont fonte = FonteAtual();
    const qreal glifo = qreal(fonte.pixelSize()) * fonte.pixelSize();
    if (!Custear({}, texto.size() * (CUSTO_CARACTERE + static_cast<qint64>(CUSTO_PIXEL_DE_GLIFO * glifo)))) {
        return;
    }
    const QFontMetricsF medidas(fonte);
    const bool comAvancos = !avancos.empty() && avancos.size() >= size_t(texto.size());
    qreal largura = 0;
    for (qsizetype i = 0; comAvancos && i < texto.size(); ++i) {
        largura += avancos[i] * qAbs(EscalaX());
    }
    if (!comAvancos) {
        largura = medidas.horizontalAdvance(texto);
    }
    const quint16 horizontal = c_.alinhamentoTexto & TA_HORIZONTAL;
    const quint16 vertical = c_.alinhamentoTexto & TA_VERTICAL;
    const qreal x = horizontal == TA_CENTER ? -largura / 2 : horizontal == TA_RIGHT ? -largura : 0;
    const qreal y = vertical == TA_BASELINE ? 0 : vertical == TA_BOTTOM ? -medidas.descent() : medidas.ascent();

    const QPointF ancora = Mapear(usarPosicao ? c_.posicao : origem);
    if (!Custear(QRectF(ancora + QPointF(x, y - medidas.ascent()), QSizeF(largura, medidas.height())))) {
        return;
    }
    p_.save();
    p_.translate(ancora);
    p_.rotate(-c_.fonte.escapamento / 10.0);
    if (c_.fundoOpaco) {
        p_.fillRect(QRectF(x, y - medidas.ascent(), largura, medidas.height()), c_.corFundo);
    }
    p_.setFont(fonte);
    p_.setPen(c_.corTexto);
    p_.setBackgroundMode(Qt::TransparentMode);
    if (comAvancos) {
        qreal cursor = x;
        for (qsizetype i = 0; i < texto.size(); ++i) {
            p_.drawText(QPointF(cursor, y), QString(texto[i]));
            cursor += avancos[i] * qAbs(EscalaX());
        }
    } else {
        p_.drawText(QPointF(x, y), texto);
    }
    p_.restore();
    if (usarPosicao && EscalaX() != 0) {
        c_.posicao.rx() += largura / EscalaX();
    }
}

void Tocador::TextoSimples(const Parametros& p) // count, string, y, x
{
    const int n = p.S(0);
    const qint64 palavrasTexto = (qint64(n) + 1) / 2;
    if (n <= 0 || n > TAMANHO_MAXIMO_TEXTO_BYTES || p.Palavras() < 3 + palavrasTexto) {
        return;
    }
    Texto(p.PontoYX(1 + palavrasTexto), p.Bytes(2, n), {});
}

void Tocador::TextoEstendido(const Parametros& p) // y, x, count, options, [box], string, [dx]
{
    const int n = p.S(2);
    const quint16 opcoes = p.U(3);
    qint64 palavra = 4;
    std::optional<QRectF> caixa;
    if (opcoes & (ETO_OPAQUE | ETO_CLIPPED)) {
        caixa = QRectF(Mapear(QPointF(p.S(4), p.S(5))), Mapear(QPointF(p.S(6), p.S(7)))).normalized();
        palavra = 8;
    }
    if (n < 0 || n > TAMANHO_MAXIMO_TEXTO_BYTES || p.Palavras() < palavra + (qint64(n) + 1) / 2) {
        return;
    }
    std::vector<qint16> avancos;
    const qint64 palavraAvancos = palavra + (qint64(n) + 1) / 2;
    if (p.Palavras() >= palavraAvancos + n) {
        for (int i = 0; i < n; ++i) {
            avancos.push_back(p.S(palavraAvancos + i));
        }
    }
    if (caixa && !Custear(*caixa)) {
        return;
    }
    p_.save();
    if (caixa && (opcoes & ETO_OPAQUE)) {
        p_.fillRect(*caixa, c_.corFundo);
    }
    if (caixa && (opcoes & ETO_CLIPPED)) {
        p_.setClipRect(*caixa, Qt::IntersectClip);
    }
    if (n > 0) {
        Texto(p.PontoYX(0), p.Bytes(2 * palavra, n), avancos);
    }
    p_.restore();
}

// DIBSTRETCHBLT and DIBBITBLT come short, without their bitmap, when the raster
// operation needs no source: then they fill with the brush.
void Tocador::BlocoEsticado(const Parametros& p)
{
    if (p.Palavras() <= 11) {
        Preencher(p, p.U32(0), QRectF(p.PontoYX(9), QSizeF(p.S(8), p.S(7))));
    } else {
        Bitmap(p, 10, QRect(p.S(5), p.S(4), p.S(3), p.S(2)), QRectF(p.PontoYX(8), QSizeF(p.S(7), p.S(6))));
    }
}

void Tocador::Bloco(const Parametros& p)
{
    if (p.Palavras() <= 9) {
        Preencher(p, p.U32(0), QRectF(p.PontoYX(7), QSizeF(p.S(6), p.S(5))));
    } else {
        Bitmap(p, 8, QRect(p.S(3), p.S(2), p.S(5), p.S(4)), QRectF(p.PontoYX(6), QSizeF(p.S(5), p.S(4))));
    }
}

// A bitmap record without a bitmap paints its box with the brush, or black or white.
void Tocador::Preencher(const Parametros&, quint32 operacao, QRectF destino)
{
    const QRectF caixa = QRectF(Mapear(destino.topLeft()), Mapear(destino.bottomRight())).normalized();
    if (!Custear(caixa)) {
        return;
    }
    if (operacao == BLACKNESS || operacao == WHITENESS) {
        p_.fillRect(caixa, operacao == BLACKNESS ? Qt::black : Qt::white);
    } else if (operacao == PATCOPY) {
        UsarPincel();
        p_.fillRect(caixa, p_.brush());
    }
}

// The source box of a bottom-up bitmap counts its y from the bottom row. Every raster
// operation that uses the source is drawn as a plain copy. The bitmap is decoded at
// most at the size of its box in the picture, and the source box taken to that size.
void Tocador::Bitmap(const Parametros& p, int palavraDib, QRect fonte, QRectF destino)
{
    const QByteArray dib = p.Bytes(2 * qint64(palavraDib), 2 * p.Palavras());
    const QPointF a = Mapear(destino.topLeft());
    const QPointF b = Mapear(destino.bottomRight());
    const QRectF caixa = QRectF(a, b).normalized();
    if (!Custear(caixa, CustoDoDib(dib))) {
        return;
    }
    const int lado = static_cast<int>(std::clamp<qreal>(std::ceil(std::max(caixa.width(), caixa.height())), 1,
                                                        LADO_MAXIMO_BITMAP));
    const ResultadoFigura r = CarregarFiguraDeBytes(ArquivoDeDib(dib), Ajuste{lado, true});
    if (!r.figura) {
        return;
    }
    const QImage& imagem = r.figura->imagem;
    const QSize natural = r.figura->natural;
    if (fonte.width() <= 0 || fonte.height() <= 0) {
        fonte = QRect(QPoint(0, 0), natural);
    } else if (LerS32(dib, 8) > 0) {
        fonte.moveTop(natural.height() - fonte.top() - fonte.height());
    }
    const qreal fx = qreal(imagem.width()) / natural.width(), fy = qreal(imagem.height()) / natural.height();
    const QRect reduzida = QRectF(fonte.left() * fx, fonte.top() * fy, fonte.width() * fx, fonte.height() * fy)
                               .toAlignedRect();
    const QImage parte = imagem.copy(reduzida).mirrored(b.x() < a.x(), b.y() < a.y());
    p_.drawImage(caixa, parte);
}

} // namespace zelpo::wmf_interno
