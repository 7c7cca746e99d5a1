#include "pieces/corte.h"

#include "records/aleatorio.h"
#include "records/cores.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace zelpo {

namespace {

constexpr int LARGURA_AREA = DIREITA_AREA - ESQUERDA_AREA;

} // namespace

bool EhMetarquivo(const QString& caminho)
{
    const QString fim = caminho.right(4).toLower();
    return fim == QLatin1String(".wmf") || fim == QLatin1String(".emf");
}

Ajuste AjusteDaFigura(const Opcoes& opcoes, bool metarquivo)
{
    return Ajuste{GeometriaPara(opcoes.Pequenas).LadoMaximo, opcoes.Adaptar || metarquivo};
}

int LadoDoCanvas(int lado, const Geometria& g)
{
    const int t = g.TamanhoParte;
    int total = lado % t == 0 ? lado + g.MargemParte : lado / t * t + g.TamanhoCelula;
    if (total == g.TamanhoCelula) // a single cell is widened to two
        total += t;
    return total;
}

namespace {

// The grid, the picture's place and the board's origin for a picture of `tamanho`.
Corte Dispor(QSize tamanho, const Opcoes& opcoes, std::optional<QSize> gradeSalva)
{
    Corte corte;
    corte.geo = GeometriaPara(opcoes.Pequenas);
    const Geometria& g = corte.geo;
    corte.tamanhoFigura = tamanho;
    const int w = tamanho.width(), h = tamanho.height();
    int largura = LadoDoCanvas(w, g), altura = LadoDoCanvas(h, g);
    if (gradeSalva) {
        largura = gradeSalva->width() * g.TamanhoParte + g.MargemParte;
        altura = gradeSalva->height() * g.TamanhoParte + g.MargemParte;
    }
    corte.Colunas = static_cast<int16_t>((largura - g.MargemParte) / g.TamanhoParte);
    corte.Linhas = static_cast<int16_t>((altura - g.MargemParte) / g.TamanhoParte);
    // Centred on the grid, and exactly on its corner (m, m) for whole cells.
    corte.posicaoFigura = QPoint(static_cast<int>(CLng((largura - w) / 2.0 - 1)),
                                 static_cast<int>(CLng((altura - h) / 2.0 - 1)));
    corte.tamanhoCanvas = QSize(largura, altura);
    corte.TopoTabuleiro = static_cast<int32_t>(CLng((ALTURA_CLIENTE - altura) / 2.0 + 2));
    corte.EsquerdaTabuleiro = static_cast<int32_t>(CLng((LARGURA_AREA - largura) / 2.0 + ESQUERDA_AREA));
    return corte;
}

} // namespace

Corte CortarFigura(const QImage& figura, bool metarquivo, const Opcoes& opcoes, std::optional<QSize> gradeSalva)
{
    const QImage ajustada = AjustarImagem(figura, AjusteDaFigura(opcoes, metarquivo));
    Corte corte = Dispor(ajustada.size(), opcoes, gradeSalva);
    corte.canvas = QImage(corte.tamanhoCanvas, QImage::Format_RGB32);
    corte.canvas.fill(CorDoNumero(NumeroDaOpcao(opcoes.BorderColor)));
    // transparent parts of the picture show the border colour, like the space around it
    QPainter p(&corte.canvas);
    p.drawImage(corte.posicaoFigura, ajustada.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return corte;
}

Corte CortarFiguraEmEscala(const QImage& figura, QSize tamanho, const Opcoes& opcoes, std::optional<QSize> gradeSalva,
                           double escala)
{
    Corte corte = Dispor(tamanho, opcoes, gradeSalva);
    corte.escala = escala;
    corte.canvas = QImage((QSizeF(corte.tamanhoCanvas) * escala).toSize(), QImage::Format_ARGB32_Premultiplied);
    corte.canvas.setDevicePixelRatio(escala);
    corte.canvas.fill(CorDoNumero(NumeroDaOpcao(opcoes.BorderColor)));
    QPainter p(&corte.canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QImage original = figura;
    original.setDevicePixelRatio(1);
    p.drawImage(QRect(corte.posicaoFigura, tamanho), original);
    return corte;
}

void PintarMiniatura(QImage& miniatura, const Corte& corte)
{
    const Geometria& g = corte.geo;
    const QRect destino(0, 0, corte.Colunas * CELULA_MINIATURA, corte.Linhas * CELULA_MINIATURA);
    const QRect grade(g.m(), g.m(), corte.Colunas * g.TamanhoParte, corte.Linhas * g.TamanhoParte);
    QPainter p(&miniatura);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (corte.escala == 1) {
        p.drawImage(destino, corte.canvas, grade);
        return;
    }
    // the source rectangle counts the canvas's own pixels
    const QRectF origem(QPointF(grade.topLeft()) * corte.escala, QSizeF(grade.size()) * corte.escala);
    p.drawImage(QRectF(destino), corte.canvas, origem);
}

QImage FiguraInvalida(double escala)
{
    static const QString texto = QStringLiteral("Figura inválida");
    // Times New Roman where it exists, else its metric twin shipped with the game
    QFont fonte;
    fonte.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                       QStringLiteral("DejaVu Serif")});
    fonte.setPixelSize(44); // 33 points at 96 dpi
    fonte.setBold(true);
    const QFontMetrics medidas(fonte);
    const QSize tamanho(std::max(1, medidas.horizontalAdvance(texto)), std::max(1, medidas.height()));
    QImage imagem((QSizeF(tamanho) * escala).toSize(), QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setFont(fonte);
    p.setPen(Qt::black);
    p.drawText(QPoint(0, medidas.ascent()), texto);
    return imagem;
}

} // namespace zelpo
