#include "records/tipos.h"

namespace zelpo {

namespace {

QString Entrada(const QString& descricao, const QString& padroes)
{
    return descricao + QStringLiteral(" (") + padroes + QStringLiteral(")|") + padroes;
}

QString Entrada(const TipoDeArquivo& t)
{
    return Entrada(QString::fromUtf8(t.descricao), QString::fromUtf8(t.padroes));
}

} // namespace

QString PadraoDasFiguras()
{
    QStringList padroes;
    for (const TipoDeArquivo& t : TIPOS_CLASSICOS)
        padroes << QString::fromUtf8(t.padroes);
    return padroes.join(QLatin1Char(';'));
}

QString FiltroAbrir()
{
    const QString todos = QString::fromUtf8(JOGO_ZELPORA.padroes) + QLatin1Char(';') + PadraoDasFiguras();
    QStringList filtro{Entrada(QStringLiteral("Todos"), todos), Entrada(JOGO_ZELPORA)};
    for (const TipoDeArquivo& t : TIPOS_CLASSICOS)
        filtro << Entrada(t);
    filtro << Entrada(OUTRAS_FIGURAS);
    return filtro.join(QLatin1Char('|'));
}

QString FiltroJogo()
{
    return Entrada(JOGO_ZELPORA);
}

QString FiltroSalvarComo(const QString& extensao)
{
    return FiltroJogo() + QLatin1Char('|') + Entrada(QStringLiteral("Figura do zelpora"), QLatin1Char('*') + extensao);
}

QStringList SufixosAbertos()
{
    QStringList sufixos;
    const auto juntar = [&sufixos](const char* padroes) {
        for (QString p : QString::fromUtf8(padroes).split(QLatin1Char(';')))
            sufixos << p.remove(QLatin1Char('*'));
    };
    juntar(JOGO_ZELPORA.padroes);
    for (const TipoDeArquivo& t : TIPOS_CLASSICOS)
        juntar(t.padroes);
    juntar(OUTRAS_FIGURAS.padroes);
    return sufixos;
}

} // namespace zelpo
