// The sound output through PulseAudio's own library (PipeWire's server answers it as
// well). The output's thread runs a PulseAudio main loop of its own; the game's thread
// only wakes it. One playback stream with a short buffer is opened with the connection
// and kept for the whole game: a sound is written in one piece where the server reads
// now, replacing whatever was left of the sound before, and between sounds the stream
// simply runs dry.
//
// One stream kept open, not one per sound as a command-line player does: the server
// mixes ahead as far as the shortest buffer among its streams allows (two seconds when
// it has none), and lets a new stream in at once only by taking back what it mixed
// ahead. Measured on PulseAudio's null sink, streams made per sound came up to two
// seconds late, and a stream made right after another was dropped went unheard. A
// stream of our own with a short buffer keeps the server mixing no further ahead than
// that buffer, so whatever is written is heard that soon.
#include "PedidosDeSom.h"
#include "Wav.h"
#include "records/produto.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/proplist.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/timeval.h>

#include "BibliotecaDinamica.h"
#define pa_context_connect ZELPO_DINAMICA(Pulse, pa_context_connect)
#define pa_context_disconnect ZELPO_DINAMICA(Pulse, pa_context_disconnect)
#define pa_context_get_state ZELPO_DINAMICA(Pulse, pa_context_get_state)
#define pa_context_new_with_proplist ZELPO_DINAMICA(Pulse, pa_context_new_with_proplist)
#define pa_context_rttime_new ZELPO_DINAMICA(Pulse, pa_context_rttime_new)
#define pa_context_unref ZELPO_DINAMICA(Pulse, pa_context_unref)
#define pa_mainloop_free ZELPO_DINAMICA(Pulse, pa_mainloop_free)
#define pa_mainloop_get_api ZELPO_DINAMICA(Pulse, pa_mainloop_get_api)
#define pa_mainloop_iterate ZELPO_DINAMICA(Pulse, pa_mainloop_iterate)
#define pa_mainloop_new ZELPO_DINAMICA(Pulse, pa_mainloop_new)
#define pa_mainloop_wakeup ZELPO_DINAMICA(Pulse, pa_mainloop_wakeup)
#define pa_operation_unref ZELPO_DINAMICA(Pulse, pa_operation_unref)
#define pa_proplist_free ZELPO_DINAMICA(Pulse, pa_proplist_free)
#define pa_proplist_new ZELPO_DINAMICA(Pulse, pa_proplist_new)
#define pa_proplist_sets ZELPO_DINAMICA(Pulse, pa_proplist_sets)
#define pa_rtclock_now ZELPO_DINAMICA(Pulse, pa_rtclock_now)
#define pa_stream_connect_playback ZELPO_DINAMICA(Pulse, pa_stream_connect_playback)
#define pa_stream_disconnect ZELPO_DINAMICA(Pulse, pa_stream_disconnect)
#define pa_stream_flush ZELPO_DINAMICA(Pulse, pa_stream_flush)
#define pa_stream_get_state ZELPO_DINAMICA(Pulse, pa_stream_get_state)
#define pa_stream_new_with_proplist ZELPO_DINAMICA(Pulse, pa_stream_new_with_proplist)
#define pa_stream_set_state_callback ZELPO_DINAMICA(Pulse, pa_stream_set_state_callback)
#define pa_stream_trigger ZELPO_DINAMICA(Pulse, pa_stream_trigger)
#define pa_stream_unref ZELPO_DINAMICA(Pulse, pa_stream_unref)
#define pa_stream_write ZELPO_DINAMICA(Pulse, pa_stream_write)
#define pa_usec_to_bytes ZELPO_DINAMICA(Pulse, pa_usec_to_bytes)

namespace zelpo {

namespace {

// How far ahead of the loudspeaker the server is asked to mix for us, which bounds the
// delay of a sound and of a cut-off; a much shorter buffer risks gaps on a busy machine.
constexpr pa_usec_t LATENCIA = 40 * PA_USEC_PER_MSEC;
// A server that accepts the connection but never answers is given up after this.
constexpr pa_usec_t PRAZO_DA_CONEXAO = 5 * PA_USEC_PER_SEC;

class ConexaoPulse {
public:
    explicit ConexaoPulse(PedidosDeSom& pedidos) : pedidos_(pedidos), laco_(pa_mainloop_new())
    {
        pa_proplist* propriedades = pa_proplist_new();
        pa_proplist_sets(propriedades, PA_PROP_APPLICATION_NAME, TITULO_APLICACAO);
        pa_proplist_sets(propriedades, PA_PROP_APPLICATION_ICON_NAME, "zelpora");
        contexto_ = pa_context_new_with_proplist(pa_mainloop_get_api(laco_), nullptr, propriedades);
        pa_proplist_free(propriedades);
        pedidos_.DefinirDespertador([laco = laco_] { pa_mainloop_wakeup(laco); });
    }

    ~ConexaoPulse()
    {
        pedidos_.DefinirDespertador({});
        Soltar();
        if (contexto_) {
            pa_context_disconnect(contexto_);
            pa_context_unref(contexto_);
        }
        pa_mainloop_free(laco_);
    }

    ConexaoPulse(const ConexaoPulse&) = delete;
    ConexaoPulse& operator=(const ConexaoPulse&) = delete;

    // Never starts a server of its own: a desktop that has one runs it already.
    bool Conectar()
    {
        if (!contexto_ || pa_context_connect(contexto_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        pa_time_event* prazo =
            pa_context_rttime_new(contexto_, pa_rtclock_now() + PRAZO_DA_CONEXAO, &ConexaoPulse::PrazoEsgotado, this);
        while (!esgotado_ && !pedidos_.Encerrando()) {
            const pa_context_state_t estado = pa_context_get_state(contexto_);
            if (estado == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(estado))
                break;
            if (pa_mainloop_iterate(laco_, 1, nullptr) < 0)
                break;
        }
        pa_mainloop_get_api(laco_)->time_free(prazo);
        if (!Viva())
            return false;
        Criar(pedidos_.amostrasPorSegundo, pedidos_.canais);
        return true;
    }

    bool Viva() const { return pa_context_get_state(contexto_) == PA_CONTEXT_READY; }

    bool Iterar() { return pa_mainloop_iterate(laco_, 1, nullptr) >= 0; }

    void Tocar(const SomPcm* som)
    {
        pendente_ = som && !som->amostras.empty() ? som : nullptr;
        if (pendente_ && (pendente_->amostrasPorSegundo != int(formato_.rate) || pendente_->canais != formato_.channels))
            Soltar();
        if (!fluxo_ && pendente_)
            Criar(pendente_->amostrasPorSegundo, pendente_->canais);
        else if (Pronto())
            Escrever();
    }

private:
    void Criar(int amostrasPorSegundo, int canais)
    {
        formato_ = {PA_SAMPLE_S16LE, uint32_t(amostrasPorSegundo), uint8_t(canais)};
        pa_proplist* propriedades = pa_proplist_new();
        pa_proplist_sets(propriedades, PA_PROP_MEDIA_ROLE, "game");
        fluxo_ = pa_stream_new_with_proplist(contexto_, "Efeitos", &formato_, nullptr, propriedades);
        pa_proplist_free(propriedades);
        if (!fluxo_)
            return;
        pa_stream_set_state_callback(fluxo_, &ConexaoPulse::EstadoDoFluxo, this);
        const uint32_t padrao = uint32_t(-1);
        const pa_buffer_attr memoria{padrao, uint32_t(pa_usec_to_bytes(LATENCIA, &formato_)), padrao, padrao, padrao};
        if (pa_stream_connect_playback(fluxo_, nullptr, &memoria, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
            Soltar();
    }

    bool Pronto() const { return fluxo_ && pa_stream_get_state(fluxo_) == PA_STREAM_READY; }

    // The rest of the sound before is dropped and the new one goes where the server
    // reads now; a sound shorter than the server's start threshold is started by hand.
    // The samples stay with Som, so the server's copy is made without one of ours.
    void Escrever()
    {
        Operacao(pa_stream_flush(fluxo_, nullptr, nullptr));
        if (!pendente_)
            return;
        const auto& amostras = pendente_->amostras;
        pa_stream_write(fluxo_, amostras.data(), amostras.size() * sizeof(amostras[0]), [](void*) {}, 0,
                        PA_SEEK_RELATIVE_ON_READ);
        Operacao(pa_stream_trigger(fluxo_, nullptr, nullptr));
        pendente_ = nullptr;
    }

    static void Operacao(pa_operation* operacao)
    {
        if (operacao)
            pa_operation_unref(operacao);
    }

    void Soltar()
    {
        if (!fluxo_)
            return;
        pa_stream_set_state_callback(fluxo_, nullptr, nullptr);
        pa_stream_disconnect(fluxo_);
        pa_stream_unref(fluxo_);
        fluxo_ = nullptr;
    }

    static void EstadoDoFluxo(pa_stream* fluxo, void* dados)
    {
        auto* eu = static_cast<ConexaoPulse*>(dados);
        const pa_stream_state_t estado = pa_stream_get_state(fluxo);
        if (estado == PA_STREAM_READY && eu->pendente_)
            eu->Escrever();
        else if (!PA_STREAM_IS_GOOD(estado))
            eu->Soltar(); // made again for the next sound
    }

    static void PrazoEsgotado(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* dados)
    {
        static_cast<ConexaoPulse*>(dados)->esgotado_ = true;
    }

    PedidosDeSom& pedidos_;
    pa_mainloop* laco_;
    pa_context* contexto_ = nullptr;
    pa_stream* fluxo_ = nullptr;
    pa_sample_spec formato_{};
    const SomPcm* pendente_ = nullptr; // asked for while the stream was being made
    bool esgotado_ = false;
};

} // namespace

FimDoDispositivo ServirPulse(PedidosDeSom& pedidos)
{
    if (!CarregarBiblioteca(BibliotecaDeSom::Pulse))
        return FimDoDispositivo::Indisponivel;
    ConexaoPulse conexao(pedidos);
    if (!conexao.Conectar())
        return pedidos.Encerrando() ? FimDoDispositivo::Encerrado : FimDoDispositivo::Indisponivel;
    pedidos.Usando("pulse");
    for (;;) {
        if (pedidos.Encerrando())
            return FimDoDispositivo::Encerrado;
        if (const auto pedido = pedidos.Pegar())
            conexao.Tocar(*pedido);
        if (!conexao.Viva() || !conexao.Iterar())
            return FimDoDispositivo::Perdido;
    }
}

} // namespace zelpo
