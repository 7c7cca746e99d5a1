#include "Interator.h"

#include "Bandeja.h"
#include "Tabuleiro.h"
#include "play/encaixe.h"
#include "records/aleatorio.h"

namespace zelpo {

Interator::Interator(Partida& partida, Tabuleiro& tabuleiro, Bandeja& bandeja)
    : QObject(&tabuleiro), partida_(partida), tabuleiro_(tabuleiro), bandeja_(bandeja)
{
}

void Interator::picParte_MouseDown(int16_t Index, QPointF ponto)
{
    if (arrasto_.ParteArrastada != -1)
        return; // a second button on the piece already held
    const Jogada jogada = partida_.Pegar(Index);
    if (jogada == Jogada::Recusada)
        return;
    arrasto_.PegaX = static_cast<int32_t>(CLng(ponto.x()));
    arrasto_.PegaY = static_cast<int32_t>(CLng(ponto.y()));
    arrasto_.ParteArrastada = Index;
    tabuleiro_.Elevar(Index);
    // A starting piece is already placed; otherwise the piece holds the mouse until the
    // release, and its moves and the release come back here in board coordinates.
    if (jogada != Jogada::Segura)
        Concluir(jogada, Index);
}

void Interator::Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto)
{
    if (arrasto_.ParteArrastada == -1)
        return;
    if (botoes == Qt::LeftButton) {
        tabuleiro_.Mostrar(arrasto_.ParteArrastada, QPoint(ponto.x() - arrasto_.PegaX, ponto.y() - arrasto_.PegaY));
        return;
    }
    VerificarOK(); // any other button, or none: the move is the drop
}

void Interator::Form_MouseUp()
{
    VerificarOK();
}

void Interator::Esquecer()
{
    arrasto_ = Arrasto();
}

void Interator::VerificarOK()
{
    if (arrasto_.ParteArrastada == -1)
        return;
    const int16_t p = arrasto_.ParteArrastada;
    Concluir(partida_.Soltar(p, tabuleiro_.Posicao(p)), p);
}

// A piece placed goes onto the board; placed or not, the tray is laid out again, which
// puts a piece that did not fit back in its slot.
void Interator::Concluir(Jogada resultado, int16_t peca)
{
    if (resultado == Jogada::Encaixada || resultado == Jogada::Completa)
        ParteOk(peca);
    bandeja_.AtualizarRolagem();
    arrasto_.ParteArrastada = -1;
    Q_EMIT jogada(resultado, peca);
}

void Interator::ParteOk(int16_t P_Index)
{
    tabuleiro_.Ocultar(P_Index);
    const JogoSalvo& j = partida_.Jogo();
    const Parte& p = j.Partes[P_Index];
    const int c = j.Geo().TamanhoCelula;
    tabuleiro_.Colar(P_Index, LugarVerdadeiro(j, P_Index), QPoint(p.Coluna * c, p.Linha * c));
}

void Interator::ExibirPartesOK()
{
    const JogoSalvo& j = partida_.Jogo();
    for (int r = 0; r < j.Linhas; ++r)
        for (int c = 0; c < j.Colunas; ++c) {
            const int i = j.Colunas * r + c;
            if (j.Partes[i].Encaixada != FALSO)
                ParteOk(static_cast<int16_t>(i));
        }
}

} // namespace zelpo
