#pragma once
// The sound libraries are loaded when the sound output opens, on its own thread after the
// window has shown, rather than with the program: PulseAudio's client library alone
// brings a dozen more (codecs, the system journal, cryptography) that a start would pay
// for before the first pixel. The sound outputs call their library's functions under
// their usual names through the macros of the .cpp files, which look each name up once.
// A library that cannot be loaded is an output that is not there: the game is silent.

#include <atomic>

namespace zelpo {

enum class BibliotecaDeSom { Pulse, Alsa };

// True once the library is loaded (it is loaded at the first call, then kept).
bool CarregarBiblioteca(BibliotecaDeSom biblioteca);
// The address of a function of a loaded library; nothing when it has no such name.
void* Simbolo(BibliotecaDeSom biblioteca, const char* nome);

} // namespace zelpo

// `nome` called through its library, with the type its header declares; the address is
// looked up at the first call after the library was loaded, then kept.
#define ZELPO_DINAMICA(biblioteca, nome)                                                        \
    ([] {                                                                                       \
        static std::atomic<void*> endereco{nullptr};                                            \
        void* e = endereco.load(std::memory_order_acquire);                                     \
        if (!e) {                                                                               \
            e = ::zelpo::Simbolo(::zelpo::BibliotecaDeSom::biblioteca, #nome);                  \
            endereco.store(e, std::memory_order_release);                                       \
        }                                                                                       \
        return reinterpret_cast<decltype(&::nome)>(e);                                          \
    }())
