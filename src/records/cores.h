#pragma once
// Colour numbers as the game stores them: 0x00BBGGRR, red in the lowest byte. The border
// colour option holds one in a double, rounded to a whole number where it is used.

#include <QColor>

#include <cstdint>

namespace zelpo {

int32_t NumeroDaOpcao(double numero);
QColor CorDoNumero(int32_t numero);
int32_t NumeroDaCor(const QColor& cor);

} // namespace zelpo
