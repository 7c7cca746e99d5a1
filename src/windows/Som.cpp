#include "Som.h"

#include "play/sons.h"

#include <QSoundEffect>
#include <QUrl>

namespace zelpo {

Som::Som(QObject* pai) : QObject(pai)
{
    // Loading is asynchronous: prepare the three sounds before the first one is needed.
    for (const char* nome : {SOM_ENCAIXE, "FIM1", "FIM2"})
        Efeito(QString::fromLatin1(nome));
}

QSoundEffect* Som::Efeito(const QString& nome)
{
    auto it = efeitos_.find(nome);
    if (it != efeitos_.end())
        return it->second;
    auto* efeito = new QSoundEffect(this);
    efeito->setSource(QUrl(QStringLiteral("qrc") + RecursoDoSom(nome)));
    efeitos_.emplace(nome, efeito);
    return efeito;
}

void Som::TocarSom(const QString& nome)
{
    PararSom();
    ultimo_ = nome;
    tocando_ = Efeito(nome);
    tocando_->play();
}

void Som::PararSom()
{
    if (tocando_)
        tocando_->stop();
    tocando_ = nullptr;
}

} // namespace zelpo
