#pragma once
// The window fonts are named as on the classic desktop ("MS Sans Serif", "Times New Roman",
// "Arial"); this maps each name to the nearest free face shipped with the game's packages
// (Liberation Sans and Serif are metric-compatible with Arial and Times New Roman).
// Called once at start-up, before anything measures text.

#include <QFont>

namespace zelpo {

void MapearFontes();

// The main window's font: bold 8.25-point "MS Sans Serif", in which the messages, the
// board caption and the clock are written.
QFont FonteJanela();

// Pixel size of an 8.25-point font at 96 dpi.
inline constexpr int PIXELS_FONTE_JANELA = 11;

} // namespace zelpo
