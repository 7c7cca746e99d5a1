#include "records/aleatorio.h"


#include <chrono>
#include <cmath>

namespace zelpo {

int64_t CLng(double valor)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even by default
    return static_cast<int64_t>(std::nearbyint(valor));
}

void Aleatorio::SemearPeloRelogio()
{
    using namespace std::chrono;
    const auto agora = system_clock::now().time_since_epoch();
    const auto dia = duration_cast<nanoseconds>(agora) % nanoseconds(hours(24));
    Semear(static_cast<uint64_t>(dia.count()));
}

double Aleatorio::Rnd()
{
    // 53 random bits give every double of [0, 1) on a uniform grid, never 1.0
    return static_cast<double>(motor_() >> 11) * 0x1.0p-53;
}

int32_t ContagemTicks()
{
    // The monotonic clock counts from boot on Linux; wrap like a 32-bit tick count.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

} // namespace zelpo
