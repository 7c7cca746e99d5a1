#pragma once
// Cutting a loaded picture into the material of a puzzle: the piece size, the crop or
// shrink to the largest board, the canvas (the picture centred on the border colour with
// a band for knobs all round), the grid, the thumbnail and the board's origin in the
// main window. frmZelpo asks AjusteDaFigura what the board keeps, loads the picture with
// it (figura.h), so that the decoder crops or shrinks while it reads, and calls
// CortarFigura once per puzzle right after; the piece pictures are then cut from the
// canvas.

#include "records/jogo.h"
#include "pictures/ajuste.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <optional>

namespace zelpo {

struct Corte {
    Geometria geo;
    int16_t Colunas = 0;
    int16_t Linhas = 0;
    QSize tamanhoFigura;   // the picture after cropping or shrinking
    QPoint posicaoFigura;  // its top-left corner in the canvas
    QSize tamanhoCanvas;   // W x H
    QImage canvas;         // the border colour around the picture, at `escala` pixels a pixel
    double escala = 1;
    int32_t TopoTabuleiro = 0;
    int32_t EsquerdaTabuleiro = 0;
};

// A metafile by name: ".wmf" or ".emf" at the end, in any case.
bool EhMetarquivo(const QString& caminho);

// What the board keeps of a picture under the options: at most S (by the piece size) on
// a side; the top-left S x S without fitting, unless the file is a metafile by name; the
// whole picture shrunk to fit otherwise.
Ajuste AjusteDaFigura(const Opcoes& opcoes, bool metarquivo);

// Width (or height) of the canvas for a picture side: whole cells plus the knob band,
// never fewer than two cells.
int LadoDoCanvas(int lado, const Geometria& g);

// The whole cut. A picture that CarregarFigura loaded with AjusteDaFigura arrives already
// cropped or shrunk and keeps its size; any other (the substitute of an unreadable file,
// a picture decoded whole) is cropped or shrunk here by the same rule. A saved game
// brings its own grid (`gradeSalva`, columns x rows): when the picture no longer cuts
// into it (a picture that cannot be read, a file made elsewhere), the canvas takes the
// saved grid and the picture is centred on it as usual, cropped where it overflows, so
// the saved pieces still tile.
Corte CortarFigura(const QImage& figura, bool metarquivo, const Opcoes& opcoes,
                   std::optional<QSize> gradeSalva = std::nullopt);

// The same cut for a screen of another device pixel ratio: the grid and the places follow
// from the picture's size on the board, `tamanho`, and the canvas is held at `escala`
// times its size, the picture drawn into its place from `figura`, whatever its own size
// (a larger one keeps its detail).
Corte CortarFiguraEmEscala(const QImage& figura, QSize tamanho, const Opcoes& opcoes,
                           std::optional<QSize> gradeSalva, double escala);

// The grid area of the canvas at 24 px a cell, painted over what the thumbnail held; a
// thumbnail held at another scale than the canvas is painted smoothly.
void PintarMiniatura(QImage& miniatura, const Corte& corte);

// The substitute for a picture that cannot be read: the words "Figura inválida" in
// Times New Roman 33 bold, black on transparent, sized to the text, drawn at `escala`.
QImage FiguraInvalida(double escala = 1);

} // namespace zelpo
