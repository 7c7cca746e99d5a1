#pragma once
// The texts and rectangles the main window draws on its board: the starting-pieces
// prompt, the news of a record on the same line, the board caption and the inset area
// around the grid.

#include "records/jogo.h"

#include <QRect>
#include <QString>

namespace zelpo {

// The prompt for the starting pieces still to choose ("" when none is written).
QString TextoPartesIniciais(int dificuldade, int partesIniciais);

// The message line once a puzzle is complete: "Novo recorde: 00:01:22" for the best
// time, "Seu 2º melhor tempo: 00:01:22" for the second and so on; "" for a time that is
// not among the puzzle's best (posicao 0).
QString TextoNovoRecorde(int32_t segundos, int posicao);

// "Médio - 30 peças - 6 x 5".
QString LegendaArea(int dificuldade, int colunas, int linhas);

// The inset area of an empty board.
inline constexpr QRect AREA_INICIAL{QPoint(ESQUERDA_AREA, 32), QPoint(DIREITA_AREA - 2, 418)};

// The area one pixel outside the bodies of the grid, as corners (X1, Y1)-(X2, Y2).
QRect RetanguloAreaDeJogo(const JogoSalvo& jogo);

} // namespace zelpo
