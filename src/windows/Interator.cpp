#include "Interator.h"

#include "Bandeja.h"
#include "Tabuleiro.h"
#include "play/encaixe.h"
#include "play/rolagem.h"
#include "records/aleatorio.h"

#include <algorithm>

namespace zelpo {

Interator::Interator(Partida& partida, Tabuleiro& tabuleiro, Bandeja& bandeja)
    : QObject(&tabuleiro), partida_(partida), tabuleiro_(tabuleiro), bandeja_(bandeja)
{
}

// --- the mouse ------------------------------------------------------------------------

void Interator::picParte_MouseDown(int16_t Index, QPointF ponto)
{
    if (arrasto_.ParteArrastada != -1 && arrasto_.porTeclado)
        Devolver(); // the mouse takes over from the keyboard
    if (arrasto_.ParteArrastada != -1)
        return; // a second button on the piece already held
    Pegar(Index, ponto, false);
}

void Interator::Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto)
{
    if (arrasto_.ParteArrastada == -1 || arrasto_.porTeclado)
        return;
    if (botoes == Qt::LeftButton) {
        tabuleiro_.Mostrar(arrasto_.ParteArrastada, QPoint(ponto.x() - arrasto_.PegaX, ponto.y() - arrasto_.PegaY));
        return;
    }
    VerificarOK(); // any other button, or none: the move is the drop
}

void Interator::Form_MouseUp()
{
    if (!arrasto_.porTeclado)
        VerificarOK();
}

// --- the keyboard ---------------------------------------------------------------------

bool Interator::Tecla(int tecla, Qt::KeyboardModifiers modificadores)
{
    const bool segura = arrasto_.ParteArrastada != -1;
    switch (tecla) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (partida_.Jogo().PartesNaRolagem == 0 || !partida_.EmJogo())
            return false;
        teclado_ = true;
        if (!segura)
            FocarVizinha(tecla == Qt::Key_Backtab || (modificadores & Qt::ShiftModifier) ? -1 : 1);
        MostrarFoco();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!partida_.EmJogo())
            return false;
        teclado_ = true;
        if (segura && arrasto_.porTeclado)
            VerificarOK();
        else if (!segura && tabuleiro_.Visivel(foco_))
            Pegar(foco_, {}, true);
        MostrarFoco();
        return true;
    case Qt::Key_Escape:
        if (!segura || !arrasto_.porTeclado)
            return false;
        Devolver();
        return true;
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        if (!segura || !arrasto_.porTeclado)
            return false;
        MoverNaGrade(tecla == Qt::Key_Left ? QPoint(-1, 0) : tecla == Qt::Key_Right ? QPoint(1, 0)
                     : tecla == Qt::Key_Up ? QPoint(0, -1) : QPoint(0, 1));
        return true;
    default:
        return false;
    }
}

void Interator::FocarPrimeira()
{
    const JogoSalvo& j = partida_.Jogo();
    Focar(j.PartesNaRolagem > 0 ? j.PartesRolagem[0] : int16_t(-1));
}

void Interator::Focar(int16_t peca)
{
    foco_ = peca;
    MostrarFoco();
    Q_EMIT mudou(peca);
}

// Along the tray in slot order, round from the last piece to the first.
void Interator::FocarVizinha(int passo)
{
    const JogoSalvo& j = partida_.Jogo();
    const int n = j.PartesNaRolagem;
    const int atual = SlotNaRolagem(j, foco_);
    const int slot = atual < 0 ? 0 : (atual + passo + n) % n;
    Focar(j.PartesRolagem[slot]);
    bandeja_.MostrarPeca(foco_);
}

void Interator::MostrarFoco()
{
    tabuleiro_.DefinirFoco(foco_, teclado_);
}

// --- the hand -------------------------------------------------------------------------

void Interator::Pegar(int16_t peca, QPointF ponto, bool porTeclado)
{
    const int slotDoFoco = SlotNaRolagem(partida_.Jogo(), foco_);
    const Jogada jogada = partida_.Pegar(peca);
    if (jogada == Jogada::Recusada)
        return;
    // A starting piece is already placed. Otherwise a piece taken by the mouse holds it
    // until the release, and its moves and the release come back here in board
    // coordinates; one taken by the keyboard waits on the first cell of the grid.
    if (jogada != Jogada::Segura) {
        Concluir(jogada, peca, slotDoFoco);
        return;
    }
    arrasto_ = Arrasto();
    arrasto_.ParteArrastada = peca;
    arrasto_.porTeclado = porTeclado;
    arrasto_.PegaX = static_cast<int32_t>(CLng(ponto.x()));
    arrasto_.PegaY = static_cast<int32_t>(CLng(ponto.y()));
    tabuleiro_.Elevar(peca);
    if (porTeclado)
        MoverNaGrade({});
    Q_EMIT mudou(peca);
}

void Interator::MoverNaGrade(QPoint passo)
{
    const JogoSalvo& j = partida_.Jogo();
    QPoint& c = arrasto_.celula;
    c = QPoint(std::clamp(c.x() + passo.x(), 0, j.Colunas - 1), std::clamp(c.y() + passo.y(), 0, j.Linhas - 1));
    const int t = j.Geo().TamanhoParte;
    tabuleiro_.Mostrar(arrasto_.ParteArrastada, QPoint(j.EsquerdaTabuleiro + c.x() * t, j.TopoTabuleiro + c.y() * t));
}

// Back in its tray slot, as a drop that does not fit leaves it, but nothing was tried.
void Interator::Devolver()
{
    const int16_t peca = arrasto_.ParteArrastada;
    arrasto_ = Arrasto();
    bandeja_.AtualizarRolagem();
    Q_EMIT mudou(peca);
}

void Interator::Remontar()
{
    arrasto_ = Arrasto();
    const JogoSalvo& j = partida_.Jogo();
    if (SlotNaRolagem(j, foco_) >= 0)
        Focar(foco_);
    else
        FocarPrimeira();
}

void Interator::Esquecer()
{
    arrasto_ = Arrasto();
    foco_ = -1;
    MostrarFoco();
}

void Interator::VerificarOK()
{
    if (arrasto_.ParteArrastada == -1)
        return;
    const int16_t p = arrasto_.ParteArrastada;
    const int slotDoFoco = SlotNaRolagem(partida_.Jogo(), foco_);
    const QPoint onde = tabuleiro_.Posicao(p);
    arrasto_ = Arrasto(); // out of the hand before the tray is laid out again
    Concluir(partida_.Soltar(p, onde), p, slotDoFoco);
}

// A piece placed goes onto the board; placed or not, the tray is laid out again, which
// puts a piece that did not fit back in its slot. The focus stays on the tray: a piece
// that left it hands the focus to the one that took its slot.
void Interator::Concluir(Jogada resultado, int16_t peca, int slotDoFoco)
{
    const bool saiu = resultado == Jogada::Encaixada || resultado == Jogada::Completa;
    if (saiu)
        ParteOk(peca);
    bandeja_.AtualizarRolagem();
    const JogoSalvo& j = partida_.Jogo();
    if (saiu && SlotNaRolagem(j, foco_) < 0) {
        const int n = j.PartesNaRolagem;
        Focar(n > 0 ? j.PartesRolagem[std::clamp(slotDoFoco, 0, n - 1)] : int16_t(-1));
    }
    MostrarFoco();
    Q_EMIT jogada(resultado, peca);
    Q_EMIT mudou(peca);
}

void Interator::ParteOk(int16_t P_Index)
{
    tabuleiro_.Ocultar(P_Index);
    tabuleiro_.Colar(P_Index, LugarVerdadeiro(partida_.Jogo(), P_Index));
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

// A piece as a screen reader names it: its number in the puzzle and where it is.
QString Interator::NomeDaPeca(int16_t peca) const
{
    const JogoSalvo& j = partida_.Jogo();
    const QString onde = j.Partes[peca].Encaixada != FALSO      ? QStringLiteral("encaixada")
                         : arrasto_.ParteArrastada == peca ? QStringLiteral("segura")
                                                                 : QStringLiteral("na bandeja");
    return QStringLiteral("Peça %1 de %2, %3").arg(peca + 1).arg(j.Pecas()).arg(onde);
}

// A placed piece's body on the board; nothing for a loose one.
QRect Interator::LugarDaPeca(int16_t peca) const
{
    const JogoSalvo& j = partida_.Jogo();
    if (j.Partes[peca].Encaixada == FALSO)
        return {};
    const Geometria g = j.Geo();
    return QRect(LugarVerdadeiro(j, peca) + QPoint(g.m(), g.m()), QSize(g.TamanhoParte, g.TamanhoParte));
}

} // namespace zelpo
