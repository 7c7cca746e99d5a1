#pragma once
// Piece shapes: each piece's jigsaw outline as a region of its picture, the bevel line
// drawn along it and the blackened outside; the shape also stamps a placed piece onto
// the board. A shape is a plus-shaped base polygon (the cell with four arms reaching into the
// knob band) minus one cut polygon per side, closed from that side's outline; the two
// pieces of a shared side cut the same outline at the same board pixels, so they tile
// exactly. Regions fill like polygon regions in winding mode: a pixel belongs to a
// polygon when its top-left corner point lies inside, right and bottom edges excluded.
// Forming a puzzle makes a PecasMontadas from the cut canvas; the board draws and hits
// each piece through its shape.

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

// The shape of a piece as a path in its own picture's frame, for drawing at any scale:
// the plus sign less the same four cuts, each side's outline smoothed, so that two
// neighbours cut along the same curve and still tile.
QPainterPath CaminhoDaPeca(const Parte& p, const Geometria& g);

// The pieces of a puzzle, cut from its canvas: piece (coluna, linha) takes the C x C
// square whose top-left corner is (coluna x T, linha x T). Each is made the first time it
// is asked for, so that a start shapes only the pieces the tray shows.
//  - at scale 1, the square with its bevel, black outside its shape (Forma);
//  - on a screen of another device pixel ratio, the canvas is held at that ratio and so
//    is each picture, clear outside its smooth outline (Caminho), antialiased, with the
//    same bevel a board pixel wide.
class PecasMontadas {
public:
    PecasMontadas() = default;
    PecasMontadas(QImage canvas, double escala, const TabelaPartes& partes, int colunas, int linhas,
                  const Geometria& g);

    int Quantas() const { return quantas_; }
    double Escala() const { return escala_; }
    QImage& Figura(int i);
    const QRegion& Forma(int i);         // at scale 1
    const QPainterPath& Caminho(int i);  // at any other
    // Every piece made now, and the canvas let go.
    void FazerTodas();

private:
    void Fazer(int i);

    QImage canvas_;
    double escala_ = 1;
    TabelaPartes partes_{};
    int quantas_ = 0;
    Geometria g_;
    std::vector<QImage> figuras_;
    std::vector<QRegion> formas_;
    std::vector<QPainterPath> caminhos_;
    std::vector<bool> feitas_;
};

} // namespace zelpo
