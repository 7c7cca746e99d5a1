#pragma once
// The one random generator of the game and the rounding rule that goes with it.
// Every random pick takes a number uniform in [0, 1), scales it, rounds it half to
// even (CLng) and takes a remainder. The main window owns the generator and reseeds
// it from the time of day; tests seed it with a fixed number.

#include <cstdint>
#include <random>

namespace zelpo {

// Nearest whole number, halves to the even neighbour.
int64_t CLng(double valor);

class Aleatorio {
public:
    explicit Aleatorio(uint64_t semente = 1) { Semear(semente); }
    void Semear(uint64_t semente) { motor_.seed(semente); }
    void SemearPeloRelogio(); // the time of day, to the nanosecond
    double Rnd();             // uniform in [0, 1)

private:
    std::mt19937_64 motor_;
};

// Tick count: milliseconds since the system started, read as a signed 32-bit value.
int32_t ContagemTicks();

} // namespace zelpo
