#include "game/classificacao.h"

#include "game/partida.h"

#include <QFileInfo>

namespace zelpo {

Recorde RecordeDe(const Partida& partida, const QDateTime& data)
{
    const JogoSalvo& j = partida.Jogo();
    const Sessao& s = partida.SessaoAtual();
    const QString nome = QFileInfo(s.ArquivoJogo.isEmpty() ? s.ArquivoFigura : s.ArquivoJogo).fileName();
    return {ChaveDoQuebraCabeca(j.BytesFigura, j.Colunas, j.Linhas, j.Pequenas, j.Dificuldade),
            j.SegundosJogo, data.toUTC(), nome, j.Dificuldade, j.Colunas, j.Linhas, j.Pequenas};
}

} // namespace zelpo
