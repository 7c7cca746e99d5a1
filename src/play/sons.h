#pragma once
// Names of the game's three sounds and the pick of the closing fanfare. The sound
// output itself lives with the windows; these names are what it plays.

#include <QString>

namespace zelpo {

class Aleatorio;

inline constexpr char SOM_ENCAIXE[] = "ENCAIXE";

// "FIM1" or "FIM2", equally likely: CLng(Rnd * 10) mod 2 + 1.
QString SomDeFim(Aleatorio& rnd);

// The embedded WAV image of a sound name (":/sons/encaixe.wav" for "ENCAIXE").
QString RecursoDoSom(const QString& nome);

} // namespace zelpo
