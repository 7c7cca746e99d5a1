#pragma once
// Sound output: plays one of the game's embedded WAV images without blocking, a new
// sound cutting off the one before, and stops everything on request. Without an audio
// device the effects simply stay silent; the game never waits for a sound.

#include <QObject>
#include <QString>

#include <map>

class QSoundEffect;

namespace zelpo {

class Som : public QObject {
    Q_OBJECT
public:
    explicit Som(QObject* pai = nullptr);

    void TocarSom(const QString& nome);
    void PararSom();
    QString UltimoSom() const { return ultimo_; } // what the game last asked for

private:
    QSoundEffect* Efeito(const QString& nome);
    std::map<QString, QSoundEffect*> efeitos_;
    QSoundEffect* tocando_ = nullptr;
    QString ultimo_;
};

} // namespace zelpo
