#include "records/jogo.h"

namespace zelpo {

Geometria GeometriaPara(bool pequenas)
{
    Geometria g;
    g.Pequenas = pequenas;
    if (pequenas) {
        g.TamanhoParte = 42;
        g.MargemParte = 32;
        g.LadoMaximo = 9 * 42;
        g.LinhasRolagem = 5;
        g.ColunasRolagem = 3;
        g.LarguraRolagem = 64;
        g.AlturaRolagem = 84;
    }
    g.TamanhoCelula = static_cast<int16_t>(g.TamanhoParte + g.MargemParte);
    const int16_t m = static_cast<int16_t>(g.MargemParte / 2 - 1);
    g.CoordBase = {1,
                   m,
                   static_cast<int16_t>(m + 1),
                   static_cast<int16_t>(g.MargemParte / 2 + g.TamanhoParte - 2),
                   static_cast<int16_t>(g.MargemParte / 2 + g.TamanhoParte - 1),
                   static_cast<int16_t>(g.TamanhoCelula - 2)};
    return g;
}

ListaRolagem ListaVazia()
{
    ListaRolagem l;
    l.fill(VAZIO);
    return l;
}

QString ExtensaoDe(const QString& caminho)
{
    const qsizetype ponto = caminho.lastIndexOf(QLatin1Char('.'));
    if (ponto < 0)
        return {};
    return caminho.mid(ponto).left(8);
}

QString NomeDificuldade(int dificuldade)
{
    switch (dificuldade) {
    case 1: return QStringLiteral("Fácil");
    case 2: return QStringLiteral("Médio");
    case 3: return QStringLiteral("Difícil");
    default: return {};
    }
}

int16_t PartesIniciaisPara(int dificuldade)
{
    // A settings file may hold any number; the prompt, the folder and the dialog all treat
    // a value other than 1 and 2 as hard, and so does the count, or the game could not start.
    return dificuldade == 1 ? 3 : dificuldade == 2 ? 2 : 1;
}

} // namespace zelpo
