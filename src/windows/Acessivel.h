#pragma once
// What a screen reader finds of the board, through Qt's accessibility interfaces (and so
// over AT-SPI): the board itself, and as its children the message line, the caption
// under the board area, the tray, the clock, the tray's scroll bar and every piece of the
// puzzle, each named ("Peça 12 de 36, na bandeja"). The pieces are drawn by the board, not
// widgets, so their interfaces are the board's own children, made here on demand and
// reading the board at each question. The board tells of a change (a piece placed, the
// focus moved, a new message) with accessibility events on these children.
// The main window installs the factory as it is made (once for the program).

#include <QString>

#include <functional>

class QRect;

namespace zelpo {

// The order of the board's accessible children: these first, then the pieces by index.
enum class FilhoDoTabuleiro { Mensagem, Legenda, Bandeja, Relogio, Rolagem, PrimeiraPeca };

void InstalarAcessibilidade();

} // namespace zelpo
