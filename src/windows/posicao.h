#pragma once
// Where a window goes when it first shows: centred, as the player sees it, frame and all,
// on the screen's work area (the main window) or on its owner's whole window (the
// dialogs). The window manager only tells the frame once the window is on the screen, so
// the windows ask again then; this file holds the arithmetic, the windows the asking.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zelpo {

// The client area's top-left corner that centres a window of client size `cliente`,
// with `moldura` around it (title bar and borders), on `alvo`. An odd pixel of spare room
// goes to the right and to the bottom. A window larger than the target keeps its frame's
// top-left corner inside it, so that the caption stays within reach.
QPoint CantoCentrado(QSize cliente, QMargins moldura, const QRect& alvo);

} // namespace zelpo
