#include "reprodutores.h"

#include "PedidosDeSom.h"
#include "SaidaDeSom.h"
#include "Som.h"
#include "Wav.h"
#include "play/sons.h"

#include <QFile>

#include <map>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace zelpo::medida {

std::unique_ptr<Reprodutor> CriarAlternativa(const QString& modo); // alternativas.cpp
QStringList Alternativas();

namespace {

QByteArray Imagem(const QString& nome)
{
    QFile arquivo(RecursoDoSom(nome));
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

class ReprodutorJogo final : public Reprodutor {
public:
    ReprodutorJogo() { som_.Preparar(); }
    void Tocar(const QString& nome) override { som_.TocarSom(nome); }
    void Parar() override { som_.PararSom(); }
    QString Dispositivo() const override { return QString::fromStdString(som_.Saida()->Dispositivo()); }

private:
    Som som_;
};

// The game's ALSA path on its own, as when no sound server answers.
class ReprodutorAlsa final : public Reprodutor {
public:
    ReprodutorAlsa()
    {
        for (const char* nome : {SOM_ENCAIXE, "FIM1", "FIM2"})
            if (auto som = LerWav(Imagem(QString::fromLatin1(nome))))
                sons_.emplace(QString::fromLatin1(nome), std::move(*som));
        fio_ = std::thread([this] { ServirAlsa(pedidos_); });
    }
    ~ReprodutorAlsa() override
    {
        pedidos_.Encerrar();
        fio_.join();
    }
    void Tocar(const QString& nome) override { pedidos_.Pedir(&sons_.at(nome)); }
    void Parar() override { pedidos_.Pedir(nullptr); }
    QString Dispositivo() const override { return QString::fromStdString(pedidos_.Dispositivo()); }

private:
    std::map<QString, SomPcm> sons_;
    PedidosDeSom pedidos_{11025, 1};
    std::thread fio_;
};

// A new paplay for every sound, as a shell would do it: the reference the recording's
// own delay is measured with.
class ReprodutorPaplay final : public Reprodutor {
public:
    ~ReprodutorPaplay() override
    {
        while (waitpid(-1, nullptr, 0) > 0) {
        }
    }
    void Tocar(const QString& nome) override
    {
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        const QByteArray arquivo = QByteArray(ZELPO_FONTE "/resources/sons/") + nome.toLower().toLatin1() + ".wav";
        char programa[] = "paplay";
        char* argumentos[] = {programa, const_cast<char*>(arquivo.constData()), nullptr};
        pid_t filho;
        posix_spawnp(&filho, programa, nullptr, nullptr, argumentos, environ);
    }
    void Parar() override {}
    bool SabeParar() const override { return false; }
    QString Dispositivo() const override { return QStringLiteral("processo"); }
};

} // namespace

std::unique_ptr<Reprodutor> CriarReprodutor(const QString& modo)
{
    if (modo == QStringLiteral("jogo"))
        return std::make_unique<ReprodutorJogo>();
    if (modo == QStringLiteral("alsa"))
        return std::make_unique<ReprodutorAlsa>();
    if (modo == QStringLiteral("paplay"))
        return std::make_unique<ReprodutorPaplay>();
    return CriarAlternativa(modo);
}

QStringList Modos()
{
    return QStringList{QStringLiteral("paplay"), QStringLiteral("jogo"), QStringLiteral("alsa")} + Alternativas();
}

} // namespace zelpo::medida
