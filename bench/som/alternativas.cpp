// The outputs the game's own was measured against. Each is built only when its library
// was there at configure time (ZELPO_COM_QTMULTIMEDIA, ZELPO_COM_SDL, ZELPO_COM_OPENAL).
#include "reprodutores.h"

#include "Wav.h"
#include "play/sons.h"

#include <QFile>

#include <map>
#include <mutex>

#ifdef ZELPO_COM_QTMULTIMEDIA
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#endif
#ifdef ZELPO_COM_SDL
#include <SDL.h>
#include <SDL_mixer.h>
#endif
#ifdef ZELPO_COM_OPENAL
#include <AL/al.h>
#include <AL/alc.h>
#endif

namespace zelpo::medida {

namespace {

const char* const NOMES[] = {SOM_ENCAIXE, "FIM1", "FIM2"};

[[maybe_unused]] QByteArray Imagem(const char* nome)
{
    QFile arquivo(RecursoDoSom(QString::fromLatin1(nome)));
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

#ifdef ZELPO_COM_QTMULTIMEDIA
// What the game did before: one QSoundEffect per sound, loaded ahead of time.
class ReprodutorQSoundEffect final : public Reprodutor {
public:
    ReprodutorQSoundEffect()
    {
        for (const char* nome : NOMES) {
            auto efeito = std::make_unique<QSoundEffect>();
            efeito->setSource(QUrl(QStringLiteral("qrc") + RecursoDoSom(QString::fromLatin1(nome))));
            efeitos_.emplace(QString::fromLatin1(nome), std::move(efeito));
        }
    }
    void Tocar(const QString& nome) override
    {
        Parar();
        tocando_ = efeitos_.at(nome).get();
        tocando_->play();
    }
    void Parar() override
    {
        if (tocando_)
            tocando_->stop();
        tocando_ = nullptr;
    }

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> efeitos_;
    QSoundEffect* tocando_ = nullptr;
};

// Samples for a QAudioSink that never stops: the current sound, then silence.
class FonteContinua final : public QIODevice {
public:
    void Tocar(const SomPcm* som)
    {
        std::lock_guard trava(trava_);
        som_ = som;
        posicao_ = 0;
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 20; }

protected:
    qint64 readData(char* dados, qint64 maximo) override
    {
        std::lock_guard trava(trava_);
        const qint64 amostras = maximo / 2;
        for (qint64 i = 0; i < amostras; ++i) {
            const bool tem = som_ && posicao_ < som_->amostras.size();
            reinterpret_cast<int16_t*>(dados)[i] = tem ? som_->amostras[posicao_++] : 0;
        }
        return amostras * 2;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::mutex trava_;
    const SomPcm* som_ = nullptr;
    size_t posicao_ = 0;
};

class ReprodutorQAudioSink final : public Reprodutor {
public:
    ReprodutorQAudioSink()
    {
        for (const char* nome : NOMES)
            if (auto som = LerWav(Imagem(nome)))
                sons_.emplace(QString::fromLatin1(nome), std::move(*som));
        QAudioFormat formato;
        formato.setSampleRate(sons_.begin()->second.amostrasPorSegundo);
        formato.setChannelCount(1);
        formato.setSampleFormat(QAudioFormat::Int16);
        saida_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), formato);
        saida_->setBufferSize(formato.bytesForDuration(30'000));
        fonte_.open(QIODevice::ReadOnly);
        saida_->start(&fonte_);
    }
    void Tocar(const QString& nome) override { fonte_.Tocar(&sons_.at(nome)); }
    void Parar() override { fonte_.Tocar(nullptr); }

private:
    std::map<QString, SomPcm> sons_;
    FonteContinua fonte_;
    std::unique_ptr<QAudioSink> saida_;
};
#endif

#ifdef ZELPO_COM_SDL
// One mixing channel, so that a sound started on it halts the one before.
class ReprodutorSdl final : public Reprodutor {
public:
    ReprodutorSdl()
    {
        if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 1, 512) < 0)
            return;
        Mix_AllocateChannels(1);
        for (const char* nome : NOMES) {
            const QByteArray imagem = Imagem(nome);
            sons_.emplace(QString::fromLatin1(nome), Mix_LoadWAV_RW(SDL_RWFromConstMem(imagem.constData(), int(imagem.size())), 1));
        }
        aberto_ = true;
    }
    ~ReprodutorSdl() override
    {
        if (aberto_) {
            Mix_HaltChannel(-1);
            for (auto& [nome, som] : sons_)
                Mix_FreeChunk(som);
            Mix_CloseAudio();
        }
        SDL_Quit();
    }
    void Tocar(const QString& nome) override
    {
        if (aberto_)
            Mix_PlayChannel(0, sons_.at(nome), 0);
    }
    void Parar() override
    {
        if (aberto_)
            Mix_HaltChannel(-1);
    }
    QString Dispositivo() const override { return QString::fromLatin1(SDL_GetCurrentAudioDriver()); }

private:
    bool aberto_ = false;
    std::map<QString, Mix_Chunk*> sons_;
};
#endif

#ifdef ZELPO_COM_OPENAL
// One source; a new buffer on it stops the sound before.
class ReprodutorOpenAl final : public Reprodutor {
public:
    ReprodutorOpenAl()
    {
        dispositivo_ = alcOpenDevice(nullptr);
        if (!dispositivo_)
            return;
        contexto_ = alcCreateContext(dispositivo_, nullptr);
        alcMakeContextCurrent(contexto_);
        alGenSources(1, &fonte_);
        for (const char* nome : NOMES) {
            const auto som = LerWav(Imagem(nome));
            ALuint memoria = 0;
            alGenBuffers(1, &memoria);
            alBufferData(memoria, AL_FORMAT_MONO16, som->amostras.data(), ALsizei(som->amostras.size() * 2),
                         som->amostrasPorSegundo);
            memorias_.emplace(QString::fromLatin1(nome), memoria);
        }
    }
    ~ReprodutorOpenAl() override
    {
        if (!dispositivo_)
            return;
        alSourceStop(fonte_);
        alDeleteSources(1, &fonte_);
        for (auto& [nome, memoria] : memorias_)
            alDeleteBuffers(1, &memoria);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(contexto_);
        alcCloseDevice(dispositivo_);
    }
    void Tocar(const QString& nome) override
    {
        if (!dispositivo_)
            return;
        alSourceStop(fonte_);
        alSourcei(fonte_, AL_BUFFER, ALint(memorias_.at(nome)));
        alSourcePlay(fonte_);
    }
    void Parar() override
    {
        if (dispositivo_)
            alSourceStop(fonte_);
    }
    QString Dispositivo() const override
    {
        return dispositivo_ ? QString::fromLatin1(alcGetString(dispositivo_, ALC_DEVICE_SPECIFIER)) : QString();
    }

private:
    ALCdevice* dispositivo_ = nullptr;
    ALCcontext* contexto_ = nullptr;
    ALuint fonte_ = 0;
    std::map<QString, ALuint> memorias_;
};
#endif

} // namespace

std::unique_ptr<Reprodutor> CriarAlternativa([[maybe_unused]] const QString& modo)
{
#ifdef ZELPO_COM_QTMULTIMEDIA
    if (modo == QStringLiteral("qsoundeffect"))
        return std::make_unique<ReprodutorQSoundEffect>();
    if (modo == QStringLiteral("qaudiosink"))
        return std::make_unique<ReprodutorQAudioSink>();
#endif
#ifdef ZELPO_COM_SDL
    if (modo == QStringLiteral("sdl"))
        return std::make_unique<ReprodutorSdl>();
#endif
#ifdef ZELPO_COM_OPENAL
    if (modo == QStringLiteral("openal"))
        return std::make_unique<ReprodutorOpenAl>();
#endif
    return nullptr;
}

QStringList Alternativas()
{
    QStringList modos;
#ifdef ZELPO_COM_QTMULTIMEDIA
    modos << QStringLiteral("qsoundeffect") << QStringLiteral("qaudiosink");
#endif
#ifdef ZELPO_COM_SDL
    modos << QStringLiteral("sdl");
#endif
#ifdef ZELPO_COM_OPENAL
    modos << QStringLiteral("openal");
#endif
    return modos;
}

} // namespace zelpo::medida
