#include "files/pastas.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zelpo {

QString PastaDaDificuldade(const QString& base, int dificuldade)
{
    const char* nome = dificuldade == 1 ? "Facil" : dificuldade == 2 ? "Medio" : "Dificil";
    return base + QLatin1Char('/') + QLatin1String(nome) + QLatin1Char('/');
}

QString ListaArquivos::Refresh()
{
    nomes_.clear();
    const QFileInfo info(Path);
    if (!info.exists())
        return QStringLiteral("Caminho não encontrado");
    if (!info.isDir())
        return QStringLiteral("O caminho não é uma pasta");
    QDir pasta(Path);
    if (!info.isReadable() || !pasta.isReadable())
        return QStringLiteral("Permissão negada");
    pasta.setNameFilters(Pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    pasta.setFilter(QDir::Files | QDir::Readable);
    nomes_ = pasta.entryList();
    QCollator ordem;
    ordem.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(nomes_.begin(), nomes_.end(), ordem);
    return {};
}

} // namespace zelpo
