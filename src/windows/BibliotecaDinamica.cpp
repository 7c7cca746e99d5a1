#include "BibliotecaDinamica.h"

#include <dlfcn.h>

#include <mutex>

namespace zelpo {

namespace {

struct Carregada {
    void* alca = nullptr;
    bool tentada = false;
};

std::mutex& Trava()
{
    static std::mutex trava;
    return trava;
}

Carregada& Dados(BibliotecaDeSom b)
{
    static Carregada pulse, alsa;
    return b == BibliotecaDeSom::Pulse ? pulse : alsa;
}

} // namespace

bool CarregarBiblioteca(BibliotecaDeSom biblioteca)
{
    const std::lock_guard<std::mutex> guarda(Trava());
    Carregada& c = Dados(biblioteca);
    if (!c.tentada) {
        c.tentada = true;
        c.alca = ::dlopen(biblioteca == BibliotecaDeSom::Pulse ? "libpulse.so.0" : "libasound.so.2",
                          RTLD_NOW | RTLD_LOCAL);
    }
    return c.alca != nullptr;
}

void* Simbolo(BibliotecaDeSom biblioteca, const char* nome)
{
    const std::lock_guard<std::mutex> guarda(Trava());
    Carregada& c = Dados(biblioteca);
    return c.alca ? ::dlsym(c.alca, nome) : nullptr;
}

} // namespace zelpo
