#pragma once
// Forming a puzzle, in one call: a picture's bytes, its name and the options in; out come
// the puzzle's record (grid, where the board stands, edge codes and the deal), the piece
// pictures with their bevels and shapes, the mask that pastes placed pieces onto the
// board, the thumbnail of the preview, and, when the picture was refused, a message that
// says why. A refused picture still makes a puzzle: one of the words "Figura inválida",
// as the player expects after the message. A saved game is formed the same way from its
// own record: its picture recut on its own grid, its edges and tray kept.
// The main window calls these once per puzzle; the benchmarks time them.

#include "pieces/corte.h"
#include "pieces/formas.h"
#include "records/jogo.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zelpo {

class Aleatorio;

struct QuebraCabeca {
    JogoSalvo jogo;      // the record; BytesFigura holds the picture file's bytes
    PecasMontadas pecas; // pictures and shapes of pieces 0 .. jogo.Pecas() - 1, made when asked for
    QImage miniatura;    // the grid area at CELULA_MINIATURA px a cell
    QString recusa;      // why the picture could not be used ("" when it could)
};

// A new puzzle from the picture file `arquivo`, whose content is `bytes` (or, when it
// could not be read, `erroLeitura` says why): cut by the options, with a fresh random
// state drawn from `rnd`. The pictures are made for a screen of `escala` device pixels a
// pixel: at 1 exactly as the board has always drawn them, at any other from as much of
// the picture's own detail as the file holds.
QuebraCabeca FormarQuebraCabeca(const QString& arquivo, const QByteArray& bytes, const QString& erroLeitura,
                                const Opcoes& opcoes, Aleatorio& rnd, double escala = 1);

// A saved game's puzzle, cut from the picture it carries on its own grid. The border
// colour is the player's; every other option is the game's.
QuebraCabeca FormarSalvo(JogoSalvo salvo, double corBorda, double escala = 1);

} // namespace zelpo
