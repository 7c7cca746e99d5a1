#pragma once
// The fit rule and the board pixels of placed pieces. A dropped piece fits when its
// picture's top-left corner lies within TOLERANCIA_ENCAIXE px of its true place on both
// axes and a piece is already placed in the 3 x 3 block of cells around it; a starting
// piece fits wherever it is. Placed pieces live only as pixels of the board image:
// their mask turns the shape black (AND), then the picture fills it (OR).

#include "game/jogo.h"

#include <QImage>
#include <QPoint>

namespace zelpo {

// Where the top-left corner of piece `peca`'s picture stands when it is in place.
QPoint LugarVerdadeiro(const Jogo& jogo, const Geometria& g, int peca);

bool TemVizinhoEncaixado(const Jogo& jogo, int colunas, int linhas, int peca);

bool PertoDoLugar(QPoint posicao, QPoint lugar);

// The whole decision for the piece held at `posicao` (top-left of its picture).
bool ParteEncaixa(const Jogo& jogo, int colunas, int linhas, const Geometria& g, int peca,
                  QPoint posicao);

// Stamps a piece onto the board: mask cell with AND, then the picture with OR.
void ColarNoTabuleiro(QImage& tabuleiro, const QImage& mascara, QPoint celulaMascara,
                      const QImage& figura, QPoint lugar, int celula);

// The C x C square of the canvas that becomes the picture of the piece at (coluna, linha).
QImage QuadradoDaPeca(const QImage& canvas, int coluna, int linha, const Geometria& g);

} // namespace zelpo
