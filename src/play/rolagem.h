#pragma once
// The tray of loose pieces: its list arithmetic and its layout, without widgets.
// Partida keeps the list in its record and applies these after every drop; the main
// window places the piece widgets where LayoutRolagem says. The list holds the loose pieces first
// and empty slots (VAZIO) behind them; slot 81 is always empty, because closing a gap
// copies the entry one past the last loose piece.

#include "records/jogo.h"

#include <QPoint>

#include <vector>

namespace zelpo {

// Closes the one gap a removal leaves and returns the new number of loose pieces.
// A list without a gap keeps its order and count.
int16_t FecharLacuna(ListaRolagem& lista, int16_t naRolagem);

// Marks the piece placed and empties the tray slot that holds it.
void RemoverDaLista(JogoSalvo& jogo, int16_t peca);
// The tray slot that holds `peca`, or -1 when it is not loose.
int SlotNaRolagem(const JogoSalvo& jogo, int16_t peca);

// True when every loose piece fits in the visible rows (the scroll bar is then off).
bool CabeNaVista(int naRolagem, const Geometria& g);

// Tray rows needed minus the rows visible: the scroll bar's maximum.
int MaximoRolagem(int naRolagem, const Geometria& g);

struct LugarNaRolagem {
    int16_t peca;
    int slot;
    QPoint topoEsquerdo; // where the piece picture's top-left corner goes
};

// The pieces shown when the first visible tray row is `primeiraLinha`, row by row.
std::vector<LugarNaRolagem> LayoutRolagem(const ListaRolagem& lista, int naRolagem,
                                          int primeiraLinha, const Geometria& g);

// The first visible row that shows tray slot `slot`, moving the view as little as it can
// from `primeiraLinha`, within 0..maximo.
int PrimeiraLinhaQueMostra(int slot, int primeiraLinha, int maximo, const Geometria& g);

// New scroll value for a tray key (a Qt key code), clamped to the scroll bar's range in
// 16-bit arithmetic; `tratada` is false for keys that do not scroll the tray.
struct PassoRolagem {
    int valor;
    bool tratada;
};
PassoRolagem TeclaRolagem(int tecla, int valor, int minimo, int maximo, int passoPagina);

} // namespace zelpo
