#pragma once
// The tray of loose pieces at the left of the main window: its scroll bar (vsbPartes), the
// layout of the visible rows on the board, the keys that scroll it and the wheel over it.
// The tray list itself is the game's (Partida keeps it and closes its gaps); the tray
// lays out what the list holds after every change, and the board draws the pieces where
// the tray puts them.

#include "records/jogo.h"

#include <QObject>

#include <functional>

class QScrollBar;
class QWheelEvent;

namespace zelpo {

class Partida;
class Tabuleiro;

class Bandeja : public QObject {
    Q_OBJECT
public:
    Bandeja(const Partida& partida, Tabuleiro& tabuleiro);

    QScrollBar* Barra() const { return vsbPartes_; }
    // The scroll bar's page for the puzzle's piece size.
    void DefinirGeometria(const Geometria& g);
    // Lays the pieces out from tray row `P_Value`, row by row.
    void Rolagem(int P_Value);
    // After the list changed: the scroll bar follows the number of loose pieces, and the
    // pieces are laid out again (an empty tray is left as it is).
    void AtualizarRolagem();
    // No puzzle: the scroll bar is off.
    void Desativar();
    // A tray key scrolls the tray when the scroll bar is on and has not the focus itself.
    void TeclaDeRolagem(int tecla);
    // The wheel anywhere over the tray scrolls it, as over its scroll bar.
    void Roda(QWheelEvent* evento);
    // Scrolls the tray, if it must, until the loose piece `peca` shows.
    void MostrarPeca(int16_t peca);
    // Who tells the piece in the player's hand (-1: none), which a layout leaves alone.
    void DefinirMao(std::function<int16_t()> mao) { mao_ = std::move(mao); }

private:
    void vsbPartes_Change();

    const Partida& partida_;
    Tabuleiro& tabuleiro_;
    QScrollBar* vsbPartes_ = nullptr;
    std::function<int16_t()> mao_;
};

} // namespace zelpo
