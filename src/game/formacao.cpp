#include "game/formacao.h"

#include "pictures/figura.h"
#include "play/novojogo.h"

namespace zelpo {

namespace {

// The picture decoded as the board keeps it, or the words "Figura inválida" and the reason.
QImage FiguraParaCorte(const QByteArray& bytes, const QString& erroLeitura, const Opcoes& opcoes,
                       bool metarquivo, QString& recusa)
{
    ResultadoFigura lida = erroLeitura.isEmpty() ? CarregarFiguraDeBytes(bytes, AjusteDaFigura(opcoes, metarquivo))
                                                 : ResultadoFigura{{}, erroLeitura};
    if (lida.figura)
        return std::move(lida.figura->imagem);
    recusa = lida.erro;
    if (!recusa.isEmpty())
        recusa[0] = recusa[0].toUpper();
    return FiguraInvalida();
}

// The cut picture into the record's grid and board origin, and its pieces and thumbnail.
void Montar(QuebraCabeca& qc, const Corte& corte)
{
    qc.jogo.Colunas = corte.Colunas;
    qc.jogo.Linhas = corte.Linhas;
    qc.jogo.TopoTabuleiro = corte.TopoTabuleiro;
    qc.jogo.EsquerdaTabuleiro = corte.EsquerdaTabuleiro;
    qc.miniatura = QImage(corte.Colunas * CELULA_MINIATURA, corte.Linhas * CELULA_MINIATURA, QImage::Format_RGB32);
    PintarMiniatura(qc.miniatura, corte);
}

void Moldar(QuebraCabeca& qc, const Corte& corte)
{
    const JogoSalvo& j = qc.jogo;
    qc.pecas.figuras = QuadradosDasPecas(corte.canvas, j.Colunas, j.Linhas, corte.geo);
    MontarPecas(qc.pecas, j.Partes, j.Colunas, j.Linhas, corte.geo);
}

} // namespace

QuebraCabeca FormarQuebraCabeca(const QString& arquivo, const QByteArray& bytes, const QString& erroLeitura,
                                const Opcoes& opcoes, Aleatorio& rnd)
{
    QuebraCabeca qc;
    const bool metarquivo = EhMetarquivo(arquivo);
    const QImage figura = FiguraParaCorte(bytes, erroLeitura, opcoes, metarquivo, qc.recusa);
    const Corte corte = CortarFigura(figura, metarquivo, opcoes);
    static_cast<OpcoesJogo&>(qc.jogo) = opcoes;
    qc.jogo.PartesIniciais = PartesIniciaisPara(opcoes.Dificuldade);
    // The picture as read, kept from now on: a save after its file has gone still holds it.
    qc.jogo.BytesFigura = bytes.isEmpty() ? MarcadorFigura() : bytes;
    qc.jogo.ExtensaoFigura = ExtensaoDe(arquivo);
    Montar(qc, corte);
    FormarEstado(qc.jogo, rnd);
    Moldar(qc, corte);
    return qc;
}

QuebraCabeca FormarSalvo(JogoSalvo salvo, double corBorda)
{
    QuebraCabeca qc;
    qc.jogo = std::move(salvo);
    Opcoes opcoes;
    static_cast<OpcoesJogo&>(opcoes) = qc.jogo;
    opcoes.BorderColor = corBorda;
    const bool metarquivo = EhMetarquivo(qc.jogo.ExtensaoFigura.trimmed());
    const QImage figura = FiguraParaCorte(qc.jogo.BytesFigura, {}, opcoes, metarquivo, qc.recusa);
    const Corte corte = CortarFigura(figura, metarquivo, opcoes, QSize(qc.jogo.Colunas, qc.jogo.Linhas));
    Montar(qc, corte);
    Moldar(qc, corte);
    return qc;
}

} // namespace zelpo
