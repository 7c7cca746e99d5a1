#pragma once
// The edge-shape tables: what outline a side of a piece follows, by edge code, and how a
// new puzzle draws the codes of its inner sides. The outlines live in the program's
// resources as 13 base outlines per piece size (resources/lados/*.bin, made by
// tools/gerar_lados.py); every other table follows from them by turning, mirroring and
// transposing. The tables are read once and kept for the life of the program.
// The piece shapes (formas.h) call CarregarLado; the new-game step calls SortearLados.

#include "records/aleatorio.h"
#include "records/jogo.h"

#include <QPoint>

#include <array>
#include <cstdint>
#include <vector>

namespace zelpo {

using ListaPontos = std::vector<QPoint>;

inline constexpr int CODIGO_RETO = 0;       // a straight side: every side on the border
inline constexpr int CODIGOS_SORTEADOS = 40; // new puzzles draw 1..40 only
inline constexpr int PONTOS_DE_FECHO = 3;   // spare points the caller closes the polygon with

// The n points of the outline of `codigo`, followed by three zero points. A horizontal
// outline (top and bottom sides) runs left to right, x from 0 to T - 1, y across the side
// within 0..M - 1; a vertical one is the same in the transposed frame. Code 0 is the
// straight side on the baseline M/2 - 1. A code outside 0..52 gives an empty list.
ListaPontos CarregarLado(int codigo, bool horizontal, bool pequenas);

// One random code from 1 to 40.
int16_t SortearLado(Aleatorio& rnd);

// Gives every piece of a colunas x linhas grid its place and fresh edge codes: all
// records are cleared, then row by row each cell's bottom side is drawn before its right
// side, and the shared code is written into both neighbours. Border sides stay straight.
void SortearLados(TabelaPartes& partes, int colunas, int linhas, Aleatorio& rnd);

} // namespace zelpo
