#include "BibliotecaDinamica.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace zelpo {

namespace {

struct Carregada {
    void* alca = nullptr;
    bool tentada = false;
    std::map<std::string, void*> simbolos;
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
    if (!c.alca)
        return nullptr;
    auto [onde, nova] = c.simbolos.try_emplace(nome, nullptr);
    if (nova)
        onde->second = ::dlsym(c.alca, nome);
    return onde->second;
}

} // namespace zelpo
