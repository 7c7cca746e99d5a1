#include "SaidaDeSom.h"

#include "PedidosDeSom.h"

#include <thread>
#include <utility>

namespace zelpo {

// A server that was not there is asked again on a later sound, but not more often than
// this: each try costs the output's thread a connection and perhaps a device probe.
constexpr auto PAUSA_ENTRE_TENTATIVAS = std::chrono::seconds(3);

void PedidosDeSom::Pedir(const SomPcm* som)
{
    std::lock_guard trava(trava_);
    pedido_ = som;
    sinal_.notify_one();
    if (despertar_)
        despertar_();
}

void PedidosDeSom::Encerrar()
{
    std::lock_guard trava(trava_);
    encerrar_ = true;
    sinal_.notify_one();
    if (despertar_)
        despertar_();
}

std::string PedidosDeSom::Dispositivo() const
{
    std::lock_guard trava(trava_);
    return dispositivo_;
}

std::optional<const SomPcm*> PedidosDeSom::Pegar()
{
    std::lock_guard trava(trava_);
    return std::exchange(pedido_, std::nullopt);
}

bool PedidosDeSom::Encerrando() const
{
    std::lock_guard trava(trava_);
    return encerrar_;
}

void PedidosDeSom::Esperar()
{
    std::unique_lock trava(trava_);
    sinal_.wait(trava, [this] { return encerrar_ || pedido_; });
}

bool PedidosDeSom::EsperarAte(Relogio::time_point limite)
{
    std::unique_lock trava(trava_);
    return !sinal_.wait_until(trava, limite, [this] { return encerrar_; });
}

void PedidosDeSom::Usando(std::string dispositivo)
{
    std::lock_guard trava(trava_);
    dispositivo_ = std::move(dispositivo);
}

void PedidosDeSom::DefinirDespertador(std::function<void()> despertar)
{
    std::lock_guard trava(trava_);
    despertar_ = std::move(despertar);
}

namespace {

class Tocador final : public SaidaDeSom {
public:
    Tocador(int amostrasPorSegundo, int canais) : pedidos_(amostrasPorSegundo, canais), fio_([this] { Executar(); })
    {
    }

    ~Tocador() override
    {
        pedidos_.Encerrar();
        fio_.join();
    }

    void Tocar(const SomPcm& som) override { pedidos_.Pedir(&som); }
    void Parar() override { pedidos_.Pedir(nullptr); }
    std::string Dispositivo() const override { return pedidos_.Dispositivo(); }

private:
    void Executar()
    {
        for (;;) {
            auto fim = ServirPulse(pedidos_);
            if (fim == FimDoDispositivo::Indisponivel)
                fim = ServirAlsa(pedidos_);
            if (fim == FimDoDispositivo::Encerrado)
                return;
            pedidos_.Usando("nenhum");
            if (!EsperarNovaTentativa())
                return;
        }
    }

    // Sounds asked for during the pause are dropped; the first one after it opens the
    // device again and is played if the device opens.
    bool EsperarNovaTentativa()
    {
        if (!pedidos_.EsperarAte(PedidosDeSom::Relogio::now() + PAUSA_ENTRE_TENTATIVAS))
            return false;
        pedidos_.Pegar();
        pedidos_.Esperar();
        return !pedidos_.Encerrando();
    }

    PedidosDeSom pedidos_;
    std::thread fio_; // last, so that it starts once the requests exist
};

} // namespace

std::unique_ptr<SaidaDeSom> AbrirSaidaDeSom(int amostrasPorSegundo, int canais)
{
    return std::make_unique<Tocador>(amostrasPorSegundo, canais);
}

} // namespace zelpo
