#include "play/sons.h"

#include "records/aleatorio.h"

namespace zelpo {

QString SomDeFim(Aleatorio& rnd)
{
    return QStringLiteral("FIM%1").arg(CLng(rnd.Rnd() * 10) % 2 + 1);
}

QString RecursoDoSom(const QString& nome)
{
    return QStringLiteral(":/sons/%1.wav").arg(nome.toLower());
}

} // namespace zelpo
