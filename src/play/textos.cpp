#include "play/textos.h"

#include "play/relogio.h"

namespace zelpo {

QString TextoPartesIniciais(int dificuldade, int partesIniciais)
{
    if (partesIniciais <= 0)
        return {};
    if (dificuldade == 1) {
        switch (partesIniciais) {
        case 3: return QStringLiteral("Selecione três peças para iniciar o jogo!");
        case 2: return QStringLiteral("Selecione a penúltima peça para iniciar o jogo!");
        case 1: return QStringLiteral("Selecione a última peça para iniciar o jogo!");
        default: return {};
        }
    }
    if (dificuldade == 2) {
        switch (partesIniciais) {
        case 2: return QStringLiteral("Selecione duas peças para iniciar o jogo!");
        case 1: return QStringLiteral("Selecione a última peça para iniciar o jogo!");
        default: return {};
        }
    }
    return QStringLiteral("Selecione uma peça para iniciar o jogo!");
}

QString TextoNovoRecorde(int32_t segundos, int posicao)
{
    if (posicao <= 0)
        return {};
    // only the best time is a record; the others are the player's own places
    if (posicao == 1)
        return QStringLiteral("Novo recorde: ") + SegundosParaHora(segundos);
    return QStringLiteral("Seu %1º melhor tempo: ").arg(posicao) + SegundosParaHora(segundos);
}

QString LegendaArea(int dificuldade, int colunas, int linhas)
{
    return QStringLiteral("%1 - %2 peças - %3 x %4")
        .arg(NomeDificuldade(dificuldade))
        .arg(colunas * linhas)
        .arg(colunas)
        .arg(linhas);
}

QRect RetanguloAreaDeJogo(const JogoSalvo& jogo)
{
    const Geometria g = jogo.Geo();
    const int colunas = jogo.Colunas, linhas = jogo.Linhas;
    const int h = g.MargemParte / 2;
    return QRect(QPoint(jogo.EsquerdaTabuleiro + h - 2, jogo.TopoTabuleiro + h - 2),
                 QPoint(jogo.EsquerdaTabuleiro + h - 1 + colunas * g.TamanhoParte,
                        jogo.TopoTabuleiro + h - 1 + linhas * g.TamanhoParte));
}

} // namespace zelpo
