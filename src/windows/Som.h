#pragma once
// The game's sounds: the click of a piece that fits and the two closing fanfares, read
// once from their embedded WAV images and handed to the sound output (SaidaDeSom).
// TocarSom returns at once and the sound plays in the background; a new sound cuts off
// the one before, so quick fits restart the click and the fanfare replaces the last
// click; PararSom silences everything when the game closes. Without an audio device the
// game is silent and says nothing about it.
//
// Nothing is opened when Som is made, so the window shows up first: the main window
// calls Preparar once the player turns to the game, which reads the sounds and starts the
// output's own thread, where the device is opened. A sound asked for before that prepares
// everything on the spot, and plays as soon as the device is open.

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace zelpo {

class SaidaDeSom;
struct SomPcm;

class Som : public QObject {
    Q_OBJECT
public:
    using AbridorDeSaida = std::function<std::unique_ptr<SaidaDeSom>(int amostrasPorSegundo, int canais)>;

    explicit Som(QObject* pai = nullptr);
    Som(AbridorDeSaida abrir, QObject* pai); // another output, for tests and measurements
    ~Som() override;

    void Preparar();
    void TocarSom(const QString& nome);
    void PararSom();
    QString UltimoSom() const { return ultimo_; } // what the game last asked for
    SaidaDeSom* Saida() const { return saida_.get(); }

private:
    AbridorDeSaida abrir_;
    std::map<QString, SomPcm> sons_; // outlives saida_, which plays from it
    std::unique_ptr<SaidaDeSom> saida_;
    QString ultimo_;
};

} // namespace zelpo
