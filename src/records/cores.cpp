#include "records/cores.h"

#include "records/aleatorio.h"

namespace zelpo {

int32_t NumeroDaOpcao(double numero)
{
    return static_cast<int32_t>(CLng(numero));
}

QColor CorDoNumero(int32_t numero)
{
    return QColor(numero & 0xFF, (numero >> 8) & 0xFF, (numero >> 16) & 0xFF);
}

int32_t NumeroDaCor(const QColor& cor)
{
    return cor.red() | (cor.green() << 8) | (cor.blue() << 16);
}

} // namespace zelpo
