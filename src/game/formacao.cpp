#include "game/formacao.h"

#include "pictures/figura.h"
#include "play/novojogo.h"

#include <cmath>

namespace zelpo {

namespace {

// The picture on the board: its size there, and the picture itself at `escala` pixels a
// pixel where the file has the detail for it (a photo shrunk to the board, a metafile);
// the words "Figura inválida" and the reason when it cannot be used.
struct FiguraNoTabuleiro {
    QImage imagem;
    QSize tamanho;
};

FiguraNoTabuleiro Decodificar(const QByteArray& bytes, const QString& erroLeitura, const Opcoes& opcoes,
                              bool metarquivo, double escala, QString& recusa)
{
    const Ajuste noTabuleiro = AjusteDaFigura(opcoes, metarquivo);
    Ajuste pedido = noTabuleiro;
    if (pedido.reduzir)
        pedido.lado = static_cast<int>(std::ceil(pedido.lado * escala));
    ResultadoFigura lida = erroLeitura.isEmpty() ? CarregarFiguraDeBytes(bytes, pedido) : ResultadoFigura{{}, erroLeitura};
    if (lida.figura) {
        const QSize tamanho = escala == 1 || !pedido.reduzir ? lida.figura->imagem.size()
                                                             : TamanhoAjustado(lida.figura->natural, noTabuleiro);
        return {std::move(lida.figura->imagem), tamanho};
    }
    recusa = lida.erro;
    if (!recusa.isEmpty())
        recusa[0] = recusa[0].toUpper();
    QImage palavras = FiguraInvalida(escala);
    const QSize tamanho = palavras.deviceIndependentSize().toSize();
    return {std::move(palavras), tamanho};
}

// The cut picture: into the record's grid and board origin, and its pieces and thumbnail.
void Montar(QuebraCabeca& qc, const FiguraNoTabuleiro& figura, bool metarquivo, const Opcoes& opcoes,
            std::optional<QSize> grade, double escala, Aleatorio* rnd)
{
    const Corte corte = escala == 1 ? CortarFigura(figura.imagem, metarquivo, opcoes, grade)
                                    : CortarFiguraEmEscala(figura.imagem, figura.tamanho, opcoes, grade, escala);
    JogoSalvo& j = qc.jogo;
    j.Colunas = corte.Colunas;
    j.Linhas = corte.Linhas;
    j.TopoTabuleiro = corte.TopoTabuleiro;
    j.EsquerdaTabuleiro = corte.EsquerdaTabuleiro;
    if (rnd)
        FormarEstado(j, *rnd);
    const QSize miniatura(corte.Colunas * CELULA_MINIATURA, corte.Linhas * CELULA_MINIATURA);
    qc.miniatura = QImage((QSizeF(miniatura) * escala).toSize(), QImage::Format_RGB32);
    qc.miniatura.setDevicePixelRatio(escala);
    PintarMiniatura(qc.miniatura, corte);
    qc.pecas = PecasMontadas(corte.canvas, escala, j.Partes, j.Colunas, j.Linhas, corte.geo);
}

} // namespace

QuebraCabeca FormarQuebraCabeca(const QString& arquivo, const QByteArray& bytes, const QString& erroLeitura,
                                const Opcoes& opcoes, Aleatorio& rnd, double escala)
{
    QuebraCabeca qc;
    const bool metarquivo = EhMetarquivo(arquivo);
    const FiguraNoTabuleiro figura = Decodificar(bytes, erroLeitura, opcoes, metarquivo, escala, qc.recusa);
    static_cast<OpcoesJogo&>(qc.jogo) = opcoes;
    qc.jogo.PartesIniciais = PartesIniciaisPara(opcoes.Dificuldade);
    // The picture as read, kept from now on: a save after its file has gone still holds it.
    qc.jogo.BytesFigura = bytes.isEmpty() ? MarcadorFigura() : bytes;
    qc.jogo.ExtensaoFigura = ExtensaoDe(arquivo);
    Montar(qc, figura, metarquivo, opcoes, std::nullopt, escala, &rnd);
    return qc;
}

QuebraCabeca FormarSalvo(JogoSalvo salvo, double corBorda, double escala)
{
    QuebraCabeca qc;
    qc.jogo = std::move(salvo);
    Opcoes opcoes;
    static_cast<OpcoesJogo&>(opcoes) = qc.jogo;
    opcoes.BorderColor = corBorda;
    const bool metarquivo = EhMetarquivo(qc.jogo.ExtensaoFigura.trimmed());
    const FiguraNoTabuleiro figura = Decodificar(qc.jogo.BytesFigura, {}, opcoes, metarquivo, escala, qc.recusa);
    Montar(qc, figura, metarquivo, opcoes, QSize(qc.jogo.Colunas, qc.jogo.Linhas), escala, nullptr);
    return qc;
}

} // namespace zelpo
