#include "files/pastas.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zelpo {

namespace {

// A file name against one pattern, in any case. "*.ext" is a plain ending (the patterns
// the game uses), without the cost of a regular expression at every start; anything
// else is a wildcard.
bool Combina(const QString& nome, const QString& padrao)
{
    if (padrao.startsWith(QStringLiteral("*.")) && !padrao.mid(1).contains(QLatin1Char('*'))
        && !padrao.contains(QLatin1Char('?')) && !padrao.contains(QLatin1Char('[')))
        return nome.endsWith(padrao.mid(1), Qt::CaseInsensitive);
    return QDir::match(padrao, nome);
}

} // namespace

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
    pasta.setFilter(QDir::Files | QDir::Readable);
    const QStringList padroes = Pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& nome : pasta.entryList())
        if (std::any_of(padroes.begin(), padroes.end(), [&nome](const QString& p) { return Combina(nome, p); }))
            nomes_ << nome;
    QCollator ordem;
    ordem.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(nomes_.begin(), nomes_.end(), ordem);
    return {};
}

} // namespace zelpo
