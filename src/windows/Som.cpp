#include "Som.h"

#include "SaidaDeSom.h"
#include "Wav.h"
#include "play/sons.h"

#include <QFile>

namespace zelpo {

constexpr int AMOSTRAS_POR_SEGUNDO = 11025; // of the game's own sounds

Som::Som(QObject* pai) : Som(&AbrirSaidaDeSom, pai) {}

Som::Som(AbridorDeSaida abrir, QObject* pai) : QObject(pai), abrir_(std::move(abrir)) {}

Som::~Som() = default;

void Som::Preparar()
{
    if (saida_)
        return;
    for (const char* nome : {SOM_ENCAIXE, "FIM1", "FIM2"}) {
        const QString n = QString::fromLatin1(nome);
        QFile arquivo(RecursoDoSom(n));
        if (!arquivo.open(QIODevice::ReadOnly))
            continue;
        if (auto som = LerWav(arquivo.readAll()))
            sons_.emplace(n, std::move(*som));
    }
    // The click sets the form the device is opened for; the fanfares share it.
    const auto clique = sons_.find(QString::fromLatin1(SOM_ENCAIXE));
    saida_ = clique == sons_.end() ? abrir_(AMOSTRAS_POR_SEGUNDO, 1)
                                   : abrir_(clique->second.amostrasPorSegundo, clique->second.canais);
}

// A name without a sound still silences the one before.
void Som::TocarSom(const QString& nome)
{
    ultimo_ = nome;
    Preparar();
    if (!saida_)
        return;
    const auto it = sons_.find(nome);
    if (it == sons_.end())
        saida_->Parar();
    else
        saida_->Tocar(it->second);
}

void Som::PararSom()
{
    if (saida_)
        saida_->Parar();
}

} // namespace zelpo
