#include "Idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace zelpo {

namespace {

// The words of Qt's file list that its Portuguese translation leaves in English: the type
// of a folder, of the root and of a link, whatever the platform note beside them.
class TraducaoComplementar : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* contexto, const char* texto, const char*, int) const override
    {
        struct Termo { const char* ingles; const char* portugues; };
        static constexpr Termo termos[] = {
            {"Folder", "Pasta"}, {"File Folder", "Pasta de arquivos"}, {"Drive", "Unidade"},
            {"Shortcut", "Atalho"}, {"Unknown", "Desconhecido"}};
        if (!contexto || !texto || std::strcmp(contexto, "QAbstractFileIconProvider") != 0)
            return {};
        for (const Termo& t : termos)
            if (std::strcmp(texto, t.ingles) == 0)
                return QString::fromUtf8(t.portugues);
        return {};
    }
};

} // namespace

void FalarPortugues()
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    QCoreApplication::installTranslator(new TraducaoComplementar(QCoreApplication::instance()));
}

void EscreverComoNoBrasil()
{
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    if (QLocale() != brasil)
        QLocale::setDefault(brasil);
}

} // namespace zelpo
