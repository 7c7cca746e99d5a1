#include "play/relogio.h"

#include "records/aleatorio.h"

namespace zelpo {

QString SegundosParaHora(int32_t segundos)
{
    int64_t s = segundos;
    int64_t horas = 0, minutos = 0;
    if (s >= 3600) {
        horas = s / 3600;
        s %= 3600;
    }
    if (s >= 60) {
        minutos = s / 60;
        s %= 60;
    }
    const auto dois = [](int64_t n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return dois(horas) + QLatin1Char(':') + dois(minutos) + QLatin1Char(':') + dois(s);
}

int32_t InicioDoRelogio(int32_t ticks, int32_t segundosJogo)
{
    return static_cast<int32_t>(CLng(ticks / 1000.0 - segundosJogo));
}

int32_t SegundosDesde(int32_t ticks, int32_t inicio)
{
    return static_cast<int32_t>(CLng(ticks / 1000.0 - inicio));
}

} // namespace zelpo
