#pragma once
// The game clock's arithmetic. The clock counts from the system tick count, not from
// timer events, so it stays right however late the ticks arrive: its zero is the tick
// second at which play (re)started, back-dated by the time already played.

#include <QString>

#include <cstdint>

namespace zelpo {

// HH:MM:SS with at least two digits each; hours are not limited to 99.
QString SegundosParaHora(int32_t segundos);

// The clock's zero for a game that has already run `segundosJogo` seconds.
int32_t InicioDoRelogio(int32_t ticks, int32_t segundosJogo);

// Seconds played at tick count `ticks` since the zero `inicio`.
int32_t SegundosDesde(int32_t ticks, int32_t inicio);

} // namespace zelpo
