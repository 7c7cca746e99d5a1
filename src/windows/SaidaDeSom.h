#pragma once
// The sound output behind Som: plays samples in the background, a new sound cutting off
// the one before, and stops on request. Every call returns at once; a thread of the
// output's own opens the sound server (PulseAudio, or PipeWire in its place), or ALSA
// when there is no server, and does all the waiting. Without either the sounds are
// dropped in silence, and the output tries again on a later sound, at most every few
// seconds, in case the server has come back. The samples handed in must outlive the
// output.

#include <memory>
#include <string>

namespace zelpo {

struct SomPcm;

class SaidaDeSom {
public:
    virtual ~SaidaDeSom() = default;
    virtual void Tocar(const SomPcm& som) = 0;
    virtual void Parar() = 0;
    // "pulse" or "alsa" while one is open, "nenhum" when neither opened, "" while opening.
    virtual std::string Dispositivo() const = 0;
};

// The sounds to come have this rate and number of channels; others are played too,
// after the device has been set for them.
std::unique_ptr<SaidaDeSom> AbrirSaidaDeSom(int amostrasPorSegundo, int canais);

} // namespace zelpo
