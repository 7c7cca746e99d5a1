#pragma once
// The window fonts are named as on the classic desktop ("MS Sans Serif", "Times New Roman",
// "Arial"); this maps each name to the nearest free face shipped with the game's packages
// (Liberation Sans and Serif are metric-compatible with Arial and Times New Roman).
// Called once at start-up, before anything measures text.

namespace zelpo {

void MapearFontes();

// Pixel size of an 8.25-point font at 96 dpi.
inline constexpr int PIXELS_FONTE_JANELA = 11;

} // namespace zelpo
