#pragma once
// Ranking a finished time: the record that a complete puzzle enters into the best-times
// table (files/recordes.h). The puzzle is named by its picture's bytes, its grid, its
// piece size and its difficulty; the name shown is the saved game's, or the picture's.

#include "files/recordes.h"

#include <QDateTime>

namespace zelpo {

class Partida;

// The time of the puzzle in play, as the clock shows it, made at `data`.
Recorde RecordeDe(const Partida& partida, const QDateTime& data);

} // namespace zelpo
