#include "play/encaixe.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zelpo {

QPoint LugarVerdadeiro(const JogoSalvo& jogo, int peca)
{
    const Parte& p = jogo.Partes[peca];
    const int t = jogo.Geo().TamanhoParte;
    return {jogo.EsquerdaTabuleiro + p.Coluna * t, jogo.TopoTabuleiro + p.Linha * t};
}

bool TemVizinhoEncaixado(const JogoSalvo& jogo, int peca)
{
    const int colunas = jogo.Colunas, linhas = jogo.Linhas;
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

bool ParteEncaixa(const JogoSalvo& jogo, int peca, QPoint posicao)
{
    if (jogo.PartesIniciais >= 1)
        return true;
    return TemVizinhoEncaixado(jogo, peca) && PertoDoLugar(posicao, LugarVerdadeiro(jogo, peca));
}

void ColarNoTabuleiro(QImage& tabuleiro, const QRegion& forma, const QImage& figura, QPoint lugar)
{
    QPainter p(&tabuleiro);
    p.setClipRegion(forma.translated(lugar));
    p.drawImage(lugar, figura);
}

} // namespace zelpo
