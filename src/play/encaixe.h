#pragma once
// The fit rule and the board pixels of placed pieces. A dropped piece fits when its
// picture's top-left corner lies within TOLERANCIA_ENCAIXE px of its true place on both
// axes and a piece is already placed in the 3 x 3 block of cells around it; a starting
// piece fits wherever it is. Placed pieces live only as pixels of the board image,
// stamped there through their shape.

#include "records/jogo.h"

#include <QImage>
#include <QPoint>
#include <QRegion>

namespace zelpo {

// Where the top-left corner of piece `peca`'s picture stands when it is in place.
QPoint LugarVerdadeiro(const JogoSalvo& jogo, int peca);

// A piece is placed in the block of up to 3 x 3 cells around `peca`, clipped to the grid.
bool TemVizinhoEncaixado(const JogoSalvo& jogo, int peca);

bool PertoDoLugar(QPoint posicao, QPoint lugar);

// The whole decision for the piece held at `posicao` (top-left of its picture).
bool ParteEncaixa(const JogoSalvo& jogo, int peca, QPoint posicao);

// Stamps a piece onto the board: its picture at `lugar`, only inside its shape.
void ColarNoTabuleiro(QImage& tabuleiro, const QRegion& forma, const QImage& figura, QPoint lugar);

} // namespace zelpo
