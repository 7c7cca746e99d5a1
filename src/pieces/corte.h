#pragma once
// Cutting a loaded picture into the material of a puzzle: the piece size, the crop or
// shrink to the largest board, the canvas (the picture centred on the border colour with
// a band for knobs all round), the grid, the thumbnail and the board's origin in the
// main window. frmZelpo calls CortarFigura once per puzzle, right after loading; the
// piece pictures are then cut from the canvas.

#include "game/jogo.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <functional>
#include <optional>

namespace zelpo {

// Draws a metafile anew at a given size, on a transparent background.
using DesenharFigura = std::function<QImage(QSize)>;

struct Corte {
    Geometria geo;
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    QSize tamanhoFigura;   // the picture after cropping or shrinking
    QPoint posicaoFigura;  // its top-left corner in the canvas
    QImage canvas;         // W x H, the border colour around the picture
    int32_t TopoTabuleiro = 0;
    int32_t EsquerdaTabuleiro = 0;
};

// A metafile by name: ".wmf" or ".emf" at the end, in any case.
bool EhMetarquivo(const QString& caminho);

// Width (or height) of the canvas for a picture side: whole cells plus the knob band,
// never fewer than two cells.
int LadoDoCanvas(int lado, const Geometria& g);

// The whole cut. `redesenhar` is given for metafiles: a shrunk metafile is drawn anew at
// its new size rather than scaled as a bitmap. A saved game brings its own grid
// (`gradeSalva`, columns x rows): when the picture no longer cuts into it (a picture that
// cannot be read, a file made elsewhere), the canvas takes the saved grid and the picture
// is centred on it as usual, cropped where it overflows, so the saved pieces still tile.
Corte CortarFigura(const QImage& figura, const DesenharFigura& redesenhar, bool metarquivo,
                   const Opcoes& opcoes, std::optional<QSize> gradeSalva = std::nullopt);

// The grid area of the canvas at 24 px a cell, painted over what the thumbnail held.
void PintarMiniatura(QImage& miniatura, const Corte& corte);

// The substitute for a picture that cannot be read: the words "Figura inválida" in
// Times New Roman 33 bold, black on transparent, sized to the text.
QImage FiguraInvalida();

} // namespace zelpo
