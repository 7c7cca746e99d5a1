// The sound output straight to ALSA, for a machine without a sound server. The device
// "default" stays open while the game runs; the output's thread writes a sound in
// short pieces and looks for a newer request between them, so a new sound or silence
// cuts in within one piece. ALSA's library reports its failures on standard error, which
// a game must not do; its reports go nowhere here.
#include "PedidosDeSom.h"
#include "Wav.h"

#include <alsa/asoundlib.h>

#include "BibliotecaDinamica.h"
#define snd_lib_error_set_handler ZELPO_DINAMICA(Alsa, snd_lib_error_set_handler)
#define snd_pcm_close ZELPO_DINAMICA(Alsa, snd_pcm_close)
#define snd_pcm_drop ZELPO_DINAMICA(Alsa, snd_pcm_drop)
#define snd_pcm_nonblock ZELPO_DINAMICA(Alsa, snd_pcm_nonblock)
#define snd_pcm_open ZELPO_DINAMICA(Alsa, snd_pcm_open)
#define snd_pcm_prepare ZELPO_DINAMICA(Alsa, snd_pcm_prepare)
#define snd_pcm_recover ZELPO_DINAMICA(Alsa, snd_pcm_recover)
#define snd_pcm_set_params ZELPO_DINAMICA(Alsa, snd_pcm_set_params)
#define snd_pcm_writei ZELPO_DINAMICA(Alsa, snd_pcm_writei)

#include <algorithm>

namespace zelpo {

namespace {

constexpr unsigned LATENCIA_US = 40'000;
// Frames written at a time: about 10 ms at the game's rate.
constexpr snd_pcm_uframes_t PEDACO = 110;

void Calar(const char*, int, const char*, int, const char*, ...) {}

class DispositivoAlsa {
public:
    bool Abrir(int amostrasPorSegundo, int canais)
    {
        snd_lib_error_set_handler(&Calar);
        // Opened without waiting, or a card held by another program would hold this
        // thread, and the game's exit with it; written to with waiting, a piece at a time.
        return snd_pcm_open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) >= 0
               && snd_pcm_nonblock(pcm_, 0) >= 0 && Ajustar(amostrasPorSegundo, canais);
    }

    ~DispositivoAlsa()
    {
        if (pcm_)
            snd_pcm_close(pcm_);
    }

    // Whatever is still in the device's buffer is dropped: this is the cut-off.
    bool Comecar(const SomPcm* som)
    {
        snd_pcm_drop(pcm_);
        som_ = som;
        posicao_ = 0;
        if (!som_)
            return true;
        if (som_->amostrasPorSegundo == taxa_ && som_->canais == canais_)
            return snd_pcm_prepare(pcm_) >= 0;
        return Ajustar(som_->amostrasPorSegundo, som_->canais);
    }

    bool Tocando() const { return som_ && posicao_ < som_->amostras.size(); }

    // One piece; false when the device is gone. An underrun on a loaded machine is
    // recovered from and the sound goes on.
    bool Escrever()
    {
        const auto quadros = std::min<snd_pcm_uframes_t>(PEDACO, (som_->amostras.size() - posicao_) / canais_);
        if (quadros == 0) {
            som_ = nullptr;
            return true;
        }
        snd_pcm_sframes_t escritos = snd_pcm_writei(pcm_, som_->amostras.data() + posicao_, quadros);
        if (escritos < 0)
            escritos = snd_pcm_recover(pcm_, int(escritos), 1);
        if (escritos < 0)
            return false;
        posicao_ += size_t(escritos) * canais_;
        return true;
    }

private:
    bool Ajustar(int amostrasPorSegundo, int canais)
    {
        taxa_ = amostrasPorSegundo;
        canais_ = canais;
        return snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(canais_),
                                  unsigned(taxa_), 1, LATENCIA_US) >= 0;
    }

    snd_pcm_t* pcm_ = nullptr;
    const SomPcm* som_ = nullptr;
    size_t posicao_ = 0;
    int taxa_ = 0;
    int canais_ = 0;
};

} // namespace

FimDoDispositivo ServirAlsa(PedidosDeSom& pedidos)
{
    if (!CarregarBiblioteca(BibliotecaDeSom::Alsa))
        return FimDoDispositivo::Indisponivel;
    DispositivoAlsa dispositivo;
    if (!dispositivo.Abrir(pedidos.amostrasPorSegundo, pedidos.canais))
        return FimDoDispositivo::Indisponivel;
    pedidos.Usando("alsa");
    for (;;) {
        if (pedidos.Encerrando())
            return FimDoDispositivo::Encerrado;
        if (const auto pedido = pedidos.Pegar()) {
            if (!dispositivo.Comecar(*pedido))
                return FimDoDispositivo::Perdido;
        } else if (!dispositivo.Tocando()) {
            pedidos.Esperar();
        } else if (!dispositivo.Escrever()) {
            return FimDoDispositivo::Perdido;
        }
    }
}

} // namespace zelpo
