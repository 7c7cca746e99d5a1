#pragma once
// The rules of a new game and of a restart: the random state of a new puzzle (edge codes
// and the deal into the tray), the restart back to the deal and the pick of a random
// picture. Forming a puzzle and Partida apply them to the record.

#include "records/jogo.h"

namespace zelpo {

class Aleatorio;

// Entry number CLng(Rnd * (n * 100)) mod n: uniform for any n (the product is 32-bit).
int EscolherFigura(int n, Aleatorio& rnd);

// The random state of a new puzzle of the record's grid: edge codes, deal, counts, the
// time at zero.
void FormarEstado(JogoSalvo& jogo, Aleatorio& rnd);

// Deals pieces 0..n-1 into random empty slots of both tray lists.
void Distribuir(JogoSalvo& jogo, int n, Aleatorio& rnd);

// Back to the deal: every piece loose, the time at zero, the starting pieces asked again.
void Reiniciar(JogoSalvo& jogo);

// The dealt list in grid order (the Shift+Ctrl+Alt+G command).
void DistribuirEmOrdem(JogoSalvo& jogo);

} // namespace zelpo
