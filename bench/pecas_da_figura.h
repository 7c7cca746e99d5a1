#pragma once
// What a new game does with a picture file, for the benchmarks that time it whole: the
// file read, then the one call that forms the puzzle (decode, cut, edges and deal, pieces).

#include "files/arquivos.h"
#include "game/formacao.h"
#include "records/aleatorio.h"

#include <QString>

namespace zelpo {

// The pieces of the file's puzzle; a picture that cannot be read is cut as the game cuts
// it, and its message left in `erro`.
inline PecasMontadas PecasDaFigura(const QString& arquivo, const Opcoes& opcoes, Aleatorio& rnd, QString& erro)
{
    const Leitura lida = LerArquivo(arquivo, TAMANHO_MAXIMO_FIGURA);
    QuebraCabeca qc = FormarQuebraCabeca(arquivo, lida.bytes, lida.erro, opcoes, rnd);
    erro = qc.recusa;
    return std::move(qc.pecas);
}

} // namespace zelpo
