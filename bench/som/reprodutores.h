#pragma once
// The sound outputs that the sound measurement compares, behind one small interface:
// the game's own Som, its ALSA path alone, paplay started once per sound (the
// reference), and, when their libraries were found at configure time, QSoundEffect
// (what the game used before), a QAudioSink kept open, SDL2_mixer and OpenAL Soft.

#include <QString>
#include <QStringList>

#include <memory>

namespace zelpo::medida {

class Reprodutor {
public:
    virtual ~Reprodutor() = default;
    virtual void Tocar(const QString& nome) = 0;
    virtual void Parar() = 0;
    virtual bool SabeParar() const { return true; }
    virtual QString Dispositivo() const { return {}; }
};

// Null for a name this build does not have.
std::unique_ptr<Reprodutor> CriarReprodutor(const QString& modo);
QStringList Modos();

} // namespace zelpo::medida
