#pragma once
// The piece in the player's hand: picking a loose piece up, moving it, dropping it and
// putting it back. The mouse drives it today (a press on a piece, moves with the left
// button, the release); whatever drives it, a drop goes through the game's commands, so
// the rule, the board and the tray come out the same. It holds the state of the drag in
// progress and nothing else: the game decides, the board draws, the tray lays out.
// The main window hears the outcome of every step (jogada) for its sounds and records.

#include "game/partida.h"

#include <QObject>
#include <QPoint>

namespace zelpo {

class Bandeja;
class Tabuleiro;

class Interator : public QObject {
    Q_OBJECT
public:
    Interator(Partida& partida, Tabuleiro& tabuleiro, Bandeja& bandeja);

    // The piece held, or -1.
    int16_t ParteArrastada() const { return arrasto_.ParteArrastada; }

    // A press on a loose piece, at that point of its picture: any button picks it up; while
    // the starting pieces are chosen, that places it at once.
    void picParte_MouseDown(int16_t Index, QPointF ponto);
    // A move with the left button alone held carries the piece; any other move drops it.
    void Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto);
    // A release drops the piece held, if any.
    void Form_MouseUp();
    // The screen was cleared: nothing is held.
    void Esquecer();
    // The board shows the placed pieces of the game in play, pasted onto it.
    void ExibirPartesOK();

Q_SIGNALS:
    // What became of a piece picked up or dropped; not sent for a piece only held.
    void jogada(zelpo::Jogada resultado, int16_t peca);

private:
    // The state of a drag in progress: the piece held and where it was taken.
    struct Arrasto {
        int16_t ParteArrastada = -1;
        int32_t PegaX = 0;
        int32_t PegaY = 0;
    };
    void VerificarOK();
    void Concluir(Jogada resultado, int16_t peca);
    void ParteOk(int16_t P_Index);

    Partida& partida_;
    Tabuleiro& tabuleiro_;
    Bandeja& bandeja_;
    Arrasto arrasto_;
};

} // namespace zelpo
