#include "play/encaixe.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zelpo {

QPoint LugarVerdadeiro(const Jogo& jogo, const Geometria& g, int peca)
{
    const Parte& p = jogo.Partes[peca];
    return {jogo.EsquerdaTabuleiro + p.Coluna * g.TamanhoParte,
            jogo.TopoTabuleiro + p.Linha * g.TamanhoParte};
}

bool TemVizinhoEncaixado(const Jogo& jogo, int colunas, int linhas, int peca)
{
    const Parte& p = jogo.Partes[peca];
    for (int r = std::max(p.Linha - 1, 0); r <= std::min(p.Linha + 1, linhas - 1); ++r)
        for (int c = std::max(p.Coluna - 1, 0); c <= std::min(p.Coluna + 1, colunas - 1); ++c)
            if (jogo.Partes[r * colunas + c].Encaixada != FALSO)
                return true;
    return false;
}

bool PertoDoLugar(QPoint posicao, QPoint lugar)
{
    return std::abs(posicao.x() - lugar.x()) <= TOLERANCIA_ENCAIXE
        && std::abs(posicao.y() - lugar.y()) <= TOLERANCIA_ENCAIXE;
}

bool ParteEncaixa(const Jogo& jogo, int colunas, int linhas, const Geometria& g, int peca,
                  QPoint posicao)
{
    if (jogo.PartesIniciais >= 1)
        return true;
    return TemVizinhoEncaixado(jogo, colunas, linhas, peca)
        && PertoDoLugar(posicao, LugarVerdadeiro(jogo, g, peca));
}

void ColarNoTabuleiro(QImage& tabuleiro, const QImage& mascara, QPoint celulaMascara,
                      const QImage& figura, QPoint lugar, int celula)
{
    QPainter p(&tabuleiro);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(lugar, mascara, QRect(celulaMascara, QSize(celula, celula)));
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(lugar, figura, QRect(0, 0, celula, celula));
}

QImage QuadradoDaPeca(const QImage& canvas, int coluna, int linha, const Geometria& g)
{
    const int c = g.TamanhoCelula;
    QImage quadrado(c, c, QImage::Format_RGB32);
    quadrado.fill(Qt::black);
    QPainter p(&quadrado);
    p.drawImage(QPoint(0, 0), canvas,
                QRect(coluna * g.TamanhoParte, linha * g.TamanhoParte, c, c));
    return quadrado;
}

} // namespace zelpo
