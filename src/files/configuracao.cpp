#include "files/configuracao.h"

#include "files/arquivos.h"
#include "records/aleatorio.h"
#include "records/produto.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <cmath>
#include <limits>
#include <optional>

namespace zelpo {

namespace {

const Opcoes PADRAO;

QString Chave(const char* nome) { return QLatin1String(nome); }

// A value of the store as text; a list (an unquoted comma in a hand-edited INI file)
// or any other type is not one of our forms.
std::optional<QString> Texto(const QSettings& store, const char* chave)
{
    const QVariant v = store.value(Chave(chave));
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString().trimmed();
}

// Decimal text, also with a fraction, rounded half to even as the game rounds.
std::optional<double> Numero(const QSettings& store, const char* chave)
{
    const std::optional<QString> t = Texto(store, chave);
    if (!t)
        return std::nullopt;
    bool ok = false;
    const double v = t->toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

template <typename Inteiro> Inteiro LerInteiro(const QSettings& store, const char* chave, Inteiro padrao)
{
    const std::optional<double> v = Numero(store, chave);
    if (!v || *v < std::numeric_limits<Inteiro>::min() - 0.5
        || *v >= std::numeric_limits<Inteiro>::max() + 0.5)
        return padrao;
    return static_cast<Inteiro>(CLng(*v));
}

// "True"/"False" in any case; a number counts as true unless it is zero.
bool LerBooleano(const QSettings& store, const char* chave, bool padrao)
{
    const std::optional<QString> t = Texto(store, chave);
    if (!t)
        return padrao;
    if (t->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> v = Numero(store, chave);
    return v ? *v != 0.0 : padrao;
}

// A colour number fits 32 bits; outside that it cannot be rounded to one.
double LerCor(const QSettings& store, const char* chave, double padrao)
{
    const std::optional<double> v = Numero(store, chave);
    if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<uint32_t>::max())
        return padrao;
    return *v;
}

QString TextoBooleano(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace

QString CaminhoConfiguracao()
{
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString fabricante = QString::fromUtf8(FABRICANTE);
    return pasta + QLatin1Char('/') + fabricante + QLatin1Char('/') + fabricante + QStringLiteral(".ini");
}

Opcoes LerCFG(const QString& arquivo)
{
    Opcoes opcoes = PADRAO;
    const QFileInfo info(arquivo);
    if (info.exists() && !info.isFile())
        return opcoes; // a FIFO or a folder in its place: nothing to read, nothing to wait for
    QSettings store(arquivo, QSettings::IniFormat);
    store.beginGroup(QString::fromUtf8(TITULO_APLICACAO));
    opcoes.Dificuldade = LerInteiro<int16_t>(store, "Dificuldade", PADRAO.Dificuldade);
    opcoes.Pequenas = LerBooleano(store, "Pequenas", PADRAO.Pequenas);
    opcoes.BorderColor = LerCor(store, "BorderColor", PADRAO.BorderColor);
    opcoes.PreviewTop = LerInteiro<int32_t>(store, "PreviewTop", PADRAO.PreviewTop);
    opcoes.PreviewLeft = LerInteiro<int32_t>(store, "PreviewLeft", PADRAO.PreviewLeft);
    opcoes.Adaptar = LerBooleano(store, "Adaptar", PADRAO.Adaptar);
    store.endGroup();
    return opcoes;
}

QString SalvarCFG(const QString& arquivo, const Opcoes& opcoes)
{
    // Written here rather than by Qt's settings, whose writes cannot be checked to the end.
    // The section name is escaped as Qt's INI reader expects ("Zelpora%203.0").
    const QString secao = QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(TITULO_APLICACAO), "."));
    QString texto = QLatin1Char('[') + secao + QStringLiteral("]\n");
    const auto chave = [&texto](const char* nome, const QString& valor) {
        texto += QLatin1String(nome) + QLatin1Char('=') + valor + QLatin1Char('\n');
    };
    chave("Dificuldade", QString::number(opcoes.Dificuldade));
    chave("Pequenas", TextoBooleano(opcoes.Pequenas));
    chave("BorderColor", QString::number(CLng(opcoes.BorderColor)));
    chave("PreviewTop", QString::number(opcoes.PreviewTop));
    chave("PreviewLeft", QString::number(opcoes.PreviewLeft));
    chave("Adaptar", TextoBooleano(opcoes.Adaptar));
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    return GravarArquivo(arquivo, texto.toUtf8());
}

} // namespace zelpo
