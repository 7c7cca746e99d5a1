#pragma once
// Piece shapes: each piece's jigsaw outline as a region of its picture, the bevel line
// drawn along it and the blackened outside; the shape also stamps a placed piece onto
// the board. A shape is a plus-shaped base polygon (the cell with four arms reaching into the
// knob band) minus one cut polygon per side, closed from that side's outline; the two
// pieces of a shared side cut the same outline at the same board pixels, so they tile
// exactly. Regions fill like polygon regions in winding mode: a pixel belongs to a
// polygon when its top-left corner point lies inside, right and bottom edges excluded.
// The new-game and open-game steps call MontarPecas once per puzzle, after the canvas
// squares have been copied into the piece pictures; the board draws and hits each piece
// through formas[i].

#include "records/jogo.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>

#include <array>
#include <vector>

namespace zelpo {

// The 21-point plus sign built from CoordBase: the cell from (a1, a1) to (a4, a4) and
// four arms out to 1 and to C - 2, the picture's corner squares left out.
QPolygon PoligonoBase(const Geometria& g);

// The shape of a piece in its own picture's frame (C x C, the cell at (m, m)).
QRegion FormaDaPeca(const Parte& p, const Geometria& g);

// The bevel: a light grey line along the upper and left boundary of the shape and a mid
// grey one along its lower and right boundary, the light one on top where they meet.
// Pixels outside the shape are left for the caller to blacken.
void DesenharBisel(QImage& figura, const QRegion& forma, int celula);

struct PecasMontadas {
    std::vector<QImage> figuras; // C x C each, the canvas square of the piece on input
    std::vector<QRegion> formas;
    // On a screen of another device pixel ratio: the pictures are held at `escala`, clear
    // outside the outline, which `caminhos` hold as paths.
    double escala = 1;
    std::vector<QPainterPath> caminhos;
};

// The shape of a piece as a path in its own picture's frame, for drawing at any scale:
// the plus sign less the same four cuts, each side's outline smoothed, so that two
// neighbours cut along the same curve and still tile.
QPainterPath CaminhoDaPeca(const Parte& p, const Geometria& g);

// The C x C square of the canvas under each piece of the grid, in row order: the piece
// at (coluna, linha) takes the square whose top-left corner is (coluna x T, linha x T).
std::vector<QImage> QuadradosDasPecas(const QImage& canvas, int colunas, int linhas, const Geometria& g);

// Shapes pieces 0..colunas * linhas - 1: each picture gets its bevel and turns black
// outside its shape; formas[i] is the shape.
void MontarPecas(PecasMontadas& pecas, const TabelaPartes& partes, int colunas, int linhas,
                 const Geometria& g);

// The pieces of a grid at `escala` device pixels a pixel, from a canvas held at that scale
// (canvas: W x H logical pixels; cell (c, r) takes the square at (c x T, r x T)): each
// picture is clear outside its outline, antialiased, with the same bevel as above, a
// pixel wide on the board.
PecasMontadas PecasEmEscala(const QImage& canvas, double escala, const TabelaPartes& partes, int colunas,
                            int linhas, const Geometria& g);

} // namespace zelpo
