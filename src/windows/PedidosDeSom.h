#pragma once
// What passes between the game's thread and the sound output's thread: the one request
// not yet taken (a newer request replaces it, so sounds never queue up), the wish to
// end, and the name of the device in use. The game's side only posts and wakes; the
// output's side takes requests and sleeps. SaidaPulse.cpp and SaidaAlsa.cpp drive a
// device from it; SaidaDeSom.cpp owns it and the thread.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace zelpo {

struct SomPcm;

class PedidosDeSom {
public:
    using Relogio = std::chrono::steady_clock;

    // The form of the sounds to come, so that a device is ready for them once open.
    PedidosDeSom(int taxa, int numeroDeCanais) : amostrasPorSegundo(taxa), canais(numeroDeCanais) {}
    const int amostrasPorSegundo;
    const int canais;

    // The game's side. A null sound asks for silence.
    void Pedir(const SomPcm* som);
    void Encerrar();
    std::string Dispositivo() const;

    // The output's side.
    std::optional<const SomPcm*> Pegar();
    bool Encerrando() const;
    void Esperar();                              // until a request or the end
    bool EsperarAte(Relogio::time_point limite); // false when the end came first
    void Usando(std::string dispositivo);
    // A device that sleeps in a poll of its own gives the way to wake it.
    void DefinirDespertador(std::function<void()> despertar);

private:
    mutable std::mutex trava_;
    std::condition_variable sinal_;
    std::optional<const SomPcm*> pedido_;
    bool encerrar_ = false;
    std::string dispositivo_;
    std::function<void()> despertar_;
};

// How a device's turn ended.
enum class FimDoDispositivo { Encerrado, Indisponivel, Perdido };

FimDoDispositivo ServirPulse(PedidosDeSom& pedidos);
FimDoDispositivo ServirAlsa(PedidosDeSom& pedidos);

} // namespace zelpo
