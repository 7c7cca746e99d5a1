#include "pieces/formas.h"

#include "pieces/lados.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelpo {

namespace {

constexpr QRgb PRETO = 0xFF000000;
constexpr QRgb CINZA_MEDIO = 0xFF808080; // the shaded (lower and right) edge
constexpr QRgb CINZA_CLARO = 0xFFC0C0C0; // the lit (upper and left) edge
constexpr int DESLOCAMENTO_BISEL = 2;    // how far the shadow copy of the shape is moved

// One side of a piece: which code it carries, the frame of its outline, the three points
// that close the outline into the part of the band outside the piece, and where the
// outline's frame stands in the piece picture.
struct Corte {
    int16_t codigo;
    bool horizontal;
    std::array<QPoint, PONTOS_DE_FECHO> fecho;
    QPoint deslocamento;
};

// Top, right, bottom, left. With L = T - 1 and K = M - 1 the top cut runs back along the
// picture's top edge, the right one along the band's right edge, and so on; the last point
// returns to the baseline next to the outline's first point.
std::array<Corte, 4> CortesDa(const Parte& p, const Geometria& g)
{
    const int t = g.TamanhoParte;
    const int l = t - 1;
    const int k = g.MargemParte - 1;
    const int m = g.m();
    return {{
        {p.Cima, true, {QPoint(l, 0), QPoint(0, 0), QPoint(0, m)}, QPoint(m, 0)},
        {p.Direita, false, {QPoint(k, l), QPoint(k, 0), QPoint(m, 0)}, QPoint(t, m)},
        {p.Baixo, true, {QPoint(l, k), QPoint(0, k), QPoint(0, m)}, QPoint(m, t)},
        {p.Esquerda, false, {QPoint(0, l), QPoint(0, 0), QPoint(m, 0)}, QPoint(0, m)},
    }};
}

QRegion RegiaoDoCorte(const Corte& corte, const Geometria& g)
{
    ListaPontos lista = CarregarLado(corte.codigo, corte.horizontal, g.Pequenas);
    // A code with no table (only a damaged saved game can hold one) cuts like a straight side.
    if (lista.empty())
        lista = CarregarLado(CODIGO_RETO, corte.horizontal, g.Pequenas);
    std::copy(corte.fecho.begin(), corte.fecho.end(), lista.end() - PONTOS_DE_FECHO);
    QPolygon poligono(static_cast<int>(lista.size()));
    std::copy(lista.begin(), lista.end(), poligono.begin());
    QRegion regiao(poligono, Qt::WindingFill);
    // The band's first and last lines across the side are never cut. Beyond the baseline
    // they lie outside the base's arm anyway; on the baseline and inside it they are the
    // end pixels of a cell. An outline that starts one pixel past the baseline (the turned
    // and mirrored copies of one that starts on it) would otherwise take the corner pixel
    // of the neighbouring cell, and leave a one-pixel hole where four pieces meet.
    const int l = g.TamanhoParte - 1;
    const int banda = g.MargemParte;
    const QRegion pontas = corte.horizontal ? QRegion(0, 0, 1, banda) + QRegion(l, 0, 1, banda)
                                            : QRegion(0, 0, banda, 1) + QRegion(0, l, banda, 1);
    return (regiao - pontas).translated(corte.deslocamento);
}

// The 1-px inner boundary of a region: the pixels with a 4-neighbour outside it.
QRegion Moldura(const QRegion& r)
{
    const QRegion miolo = r & r.translated(1, 0) & r.translated(-1, 0) & r.translated(0, 1)
        & r.translated(0, -1);
    return r - miolo;
}

void PintarRegiao(QImage& imagem, const QRegion& regiao, QRgb cor)
{
    if (imagem.depth() != 32)
        imagem.convertTo(QImage::Format_RGB32);
    const QRect limites = imagem.rect();
    for (const QRect& bruto : regiao) {
        const QRect r = bruto & limites;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* linha = reinterpret_cast<QRgb*>(imagem.scanLine(y));
            std::fill(linha + r.left(), linha + r.right() + 1, cor);
        }
    }
}

// An outline's staircase of pixels as a smooth line: each point the mean of its five
// neighbours along the line, the two at either end kept where they are, so that the line
// still meets the corners of the cell.
QPolygonF Suavizada(const ListaPontos& lista, int n)
{
    constexpr int RAIO = 2;
    QPolygonF linha;
    linha.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (i < RAIO || i >= n - RAIO) {
            linha << QPointF(lista[size_t(i)]);
            continue;
        }
        QPointF soma;
        for (int j = i - RAIO; j <= i + RAIO; ++j)
            soma += QPointF(lista[size_t(j)]);
        linha << soma / (2 * RAIO + 1);
    }
    return linha;
}

QPainterPath CaminhoDoCorte(const Corte& corte, const Geometria& g)
{
    ListaPontos lista = CarregarLado(corte.codigo, corte.horizontal, g.Pequenas);
    if (lista.empty())
        lista = CarregarLado(CODIGO_RETO, corte.horizontal, g.Pequenas);
    QPolygonF poligono = Suavizada(lista, static_cast<int>(lista.size()) - PONTOS_DE_FECHO);
    for (const QPoint& p : corte.fecho)
        poligono << QPointF(p);
    QPainterPath caminho;
    caminho.addPolygon(poligono.translated(QPointF(corte.deslocamento)));
    caminho.closeSubpath();
    return caminho;
}

// A region as an opaque picture of its own, for masking another one.
QImage Pintada(const QPainterPath& caminho, QSize tamanho, double escala, const QColor& cor)
{
    QImage imagem(tamanho, QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(caminho, cor);
    return imagem;
}

// One band of the bevel: the part of the shape whose neighbour one pixel along `lado` lies
// outside it.
QImage Faixa(const QPainterPath& forma, QPointF lado, QSize tamanho, double escala, QRgb cor)
{
    QImage faixa = Pintada(forma, tamanho, escala, QColor::fromRgb(cor));
    QPainter p(&faixa);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.fillPath(forma.translated(-lado), Qt::black);
    return faixa;
}

} // namespace

QPolygon PoligonoBase(const Geometria& g)
{
    const auto& a = g.CoordBase;
    // Clockwise from the top arm's left corner; each arm is one cell wide less a pixel
    // on either side, so the corner squares of the band stay out.
    return QPolygon({
        {a[2], a[0]}, {a[3], a[0]}, {a[3], a[1]}, {a[4], a[1]}, {a[4], a[2]}, {a[5], a[2]},
        {a[5], a[3]}, {a[4], a[3]}, {a[4], a[4]}, {a[3], a[4]}, {a[3], a[5]}, {a[2], a[5]},
        {a[2], a[4]}, {a[1], a[4]}, {a[1], a[3]}, {a[0], a[3]}, {a[0], a[2]}, {a[1], a[2]},
        {a[1], a[1]}, {a[2], a[1]}, {a[2], a[0]},
    });
}

QRegion FormaDaPeca(const Parte& p, const Geometria& g)
{
    QRegion forma(PoligonoBase(g), Qt::WindingFill);
    for (const Corte& corte : CortesDa(p, g))
        forma -= RegiaoDoCorte(corte, g);
    return forma;
}

QPainterPath CaminhoDaPeca(const Parte& p, const Geometria& g)
{
    QPainterPath forma;
    forma.addPolygon(QPolygonF(PoligonoBase(g)));
    forma.closeSubpath();
    for (const Corte& corte : CortesDa(p, g))
        forma = forma.subtracted(CaminhoDoCorte(corte, g));
    return forma.simplified();
}

void DesenharBisel(QImage& figura, const QRegion& forma, int celula)
{
    // The shape united with a copy moved up and left: framing it leaves a shaded line along
    // the lower and right boundary; the same moved back down and right frames the lit line
    // along the upper and left boundary. Only what falls inside the shape stays visible.
    const QRegion dentro = forma & QRegion(0, 0, celula, celula);
    const QRegion unida = dentro | forma.translated(-DESLOCAMENTO_BISEL, -DESLOCAMENTO_BISEL);
    PintarRegiao(figura, Moldura(unida), CINZA_MEDIO);
    PintarRegiao(figura, Moldura(unida.translated(DESLOCAMENTO_BISEL, DESLOCAMENTO_BISEL)),
                 CINZA_CLARO);
}

PecasMontadas::PecasMontadas(QImage canvas, double escala, const TabelaPartes& partes, int colunas, int linhas,
                             const Geometria& g)
    : canvas_(std::move(canvas)), escala_(escala), partes_(partes), quantas_(colunas * linhas), g_(g),
      figuras_(size_t(quantas_)), formas_(size_t(quantas_)), caminhos_(size_t(quantas_)), feitas_(size_t(quantas_), false)
{
}

QImage& PecasMontadas::Figura(int i)
{
    Fazer(i);
    return figuras_[size_t(i)];
}

const QRegion& PecasMontadas::Forma(int i)
{
    Fazer(i);
    return formas_[size_t(i)];
}

const QPainterPath& PecasMontadas::Caminho(int i)
{
    Fazer(i);
    return caminhos_[size_t(i)];
}

void PecasMontadas::FazerTodas()
{
    for (int i = 0; i < quantas_; ++i)
        Fazer(i);
    canvas_ = QImage(); // nothing more to cut from it
}

void PecasMontadas::Fazer(int i)
{
    if (feitas_[size_t(i)])
        return;
    feitas_[size_t(i)] = true;
    const Parte& p = partes_[i];
    const int c = g_.TamanhoCelula;
    if (escala_ == 1) {
        // the canvas square under the piece, its bevel, and black outside its shape
        QImage figura(c, c, QImage::Format_RGB32);
        figura.fill(Qt::black);
        QPainter pintor(&figura);
        pintor.drawImage(QPoint(0, 0), canvas_, QRect(p.Coluna * g_.TamanhoParte, p.Linha * g_.TamanhoParte, c, c));
        pintor.end();
        const QRegion forma = FormaDaPeca(p, g_);
        DesenharBisel(figura, forma, c);
        PintarRegiao(figura, QRegion(0, 0, c, c) - forma, PRETO);
        figuras_[size_t(i)] = std::move(figura);
        formas_[size_t(i)] = forma;
        return;
    }
    const QSize tamanho(static_cast<int>(std::ceil(c * escala_)), static_cast<int>(std::ceil(c * escala_)));
    const QPainterPath forma = CaminhoDaPeca(p, g_);
    QImage figura(tamanho, QImage::Format_ARGB32_Premultiplied);
    figura.setDevicePixelRatio(escala_);
    figura.fill(Qt::black);
    QPainter pintor(&figura);
    pintor.setRenderHint(QPainter::SmoothPixmapTransform);
    pintor.drawImage(QPointF(-p.Coluna * g_.TamanhoParte, -p.Linha * g_.TamanhoParte), canvas_);
    // the shaded edge first, the lit one over it where they meet, as on the board
    pintor.drawImage(QPointF(0, 0), Faixa(forma, QPointF(1, 1), tamanho, escala_, CINZA_MEDIO));
    pintor.drawImage(QPointF(0, 0), Faixa(forma, QPointF(-1, -1), tamanho, escala_, CINZA_CLARO));
    pintor.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    pintor.drawImage(QPointF(0, 0), Pintada(forma, tamanho, escala_, Qt::black));
    pintor.end();
    figuras_[size_t(i)] = std::move(figura);
    caminhos_[size_t(i)] = forma;
}

} // namespace zelpo
