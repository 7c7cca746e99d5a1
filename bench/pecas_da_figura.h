#pragma once
// What a new game does with a picture file, for the benchmarks that time it whole: load,
// cut, draw the edges and deal, fill and shape.

#include "game/aleatorio.h"
#include "game/novojogo.h"
#include "pieces/corte.h"
#include "pieces/figura.h"
#include "pieces/formas.h"

#include <QString>

namespace zelpo {

// The pieces of the file's puzzle; a picture that cannot be read is cut as the game cuts
// it, and its message left in `erro`.
inline PecasMontadas PecasDaFigura(const QString& arquivo, const Opcoes& opcoes, Aleatorio& rnd, QString& erro)
{
    const bool metarquivo = EhMetarquivo(arquivo);
    const ResultadoFigura lida = CarregarFigura(arquivo, AjusteDaFigura(opcoes, metarquivo));
    erro = lida.erro;
    const Corte corte = CortarFigura(lida.figura ? lida.figura->imagem : FiguraInvalida(), metarquivo, opcoes);
    JogoSalvo jogo;
    jogo.Colunas = corte.Colunas;
    jogo.Linhas = corte.Linhas;
    FormarEstado(jogo, rnd);
    PecasMontadas pecas;
    pecas.figuras = QuadradosDasPecas(corte.canvas, corte.Colunas, corte.Linhas, corte.geo);
    MontarPecas(pecas, jogo.Partes, corte.Colunas, corte.Linhas, corte.geo);
    return pecas;
}

} // namespace zelpo
