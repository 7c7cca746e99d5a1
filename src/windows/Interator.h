#pragma once
// The piece in the player's hand: picking a loose piece up, moving it, dropping it and
// putting it back, by mouse or by keyboard; whatever drives it, a drop goes through the
// game's commands, so the rule, the sound, the board and the tray come out the same.
//  - the mouse: a press on a piece, moves with the left button, the release;
//  - the keyboard: Tab and Shift+Tab walk the focus along the tray; Enter or Space picks
//    the focused piece up (while the starting pieces are chosen, that places it, as a
//    click does), and the piece held stands on the board cell of the grid's first column
//    and row; the arrow keys move it a cell at a time within the grid; Enter or Space
//    drops it there; Esc puts it back in the tray.
// It holds the state of the hand and of the focus and nothing else: the game decides, the
// board draws, the tray lays out. The focus shows only once the keyboard was used for
// play, as classic desktops hide focus marks until a key is used. The main window hears
// the outcome of every step (jogada) for its sounds and records.

#include "game/partida.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

namespace zelpo {

class Bandeja;
class Tabuleiro;

class Interator : public QObject {
    Q_OBJECT
public:
    Interator(Partida& partida, Tabuleiro& tabuleiro, Bandeja& bandeja);

    // The piece held, or -1.
    int16_t ParteArrastada() const { return arrasto_.ParteArrastada; }
    // The tray's piece that takes the keyboard, or -1.
    int16_t PecaEmFoco() const { return foco_; }

    // A press on a loose piece, at that point of its picture: any button picks it up; while
    // the starting pieces are chosen, that places it at once.
    void picParte_MouseDown(int16_t Index, QPointF ponto);
    // A move with the left button alone held carries the piece; any other move drops it.
    void Form_MouseMove(Qt::MouseButtons botoes, QPoint ponto);
    // A release drops the piece held, if any.
    void Form_MouseUp();
    // A key the board was given: true when it was one of the hand's (see above).
    bool Tecla(int tecla, Qt::KeyboardModifiers modificadores);
    // Play starts or resumes: the keyboard goes to the piece in the tray's first slot.
    void FocarPrimeira();
    // The screen was cleared: nothing is held, nothing has the focus.
    void Esquecer();
    // The board was made again (at another scale): the piece in hand goes back to its
    // slot, and the keyboard stays with its piece, or goes to the first slot's.
    void Remontar();
    // The board shows the placed pieces of the game in play, pasted onto it.
    void ExibirPartesOK();
    // A piece as a screen reader names it: its number in the puzzle and where it is.
    QString NomeDaPeca(int16_t peca) const;
    // A placed piece's body on the board; nothing for a loose one.
    QRect LugarDaPeca(int16_t peca) const;

Q_SIGNALS:
    // What became of a piece picked up or dropped; not sent for a piece only held.
    void jogada(zelpo::Jogada resultado, int16_t peca);
    // The piece held or the one in focus changed (for screen readers).
    void mudou(int16_t peca);

private:
    // The state of a drag in progress: the piece held and where it was taken.
    struct Arrasto {
        int16_t ParteArrastada = -1;
        int32_t PegaX = 0;
        int32_t PegaY = 0;
        bool porTeclado = false;
        QPoint celula;     // held by the keyboard: the grid cell it stands on
    };
    void VerificarOK();
    void Pegar(int16_t peca, QPointF ponto, bool porTeclado);
    void Devolver();
    void MoverNaGrade(QPoint passo);
    void Focar(int16_t peca);
    void FocarVizinha(int passo);
    void MostrarFoco();
    void Concluir(Jogada resultado, int16_t peca, int slotDoFoco);
    void ParteOk(int16_t P_Index);

    Partida& partida_;
    Tabuleiro& tabuleiro_;
    Bandeja& bandeja_;
    Arrasto arrasto_;
    int16_t foco_ = -1;
    bool teclado_ = false; // the keyboard was used for play: focus marks show
};

} // namespace zelpo
