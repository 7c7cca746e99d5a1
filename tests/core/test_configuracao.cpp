#include "files/configuracao.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace zelpo;

namespace {

struct Loja {
    QTemporaryDir pasta;
    QString caminho = pasta.filePath(QStringLiteral("cfg.ini"));
    QSettings Abrir() const { return QSettings(caminho, QSettings::IniFormat); }
};

} // namespace

TEST(Configuracao, LojaVaziaDaOsPadroes)
{
    Loja loja;
    QSettings s = loja.Abrir();
    Opcoes o{3, true, false, 1.0, -9, -9};
    LerCFG(s, o);
    EXPECT_EQ(o, (Opcoes{2, false, true, 8388608.0, 72, 56}));
}

TEST(Configuracao, GravaTextosEReleIgual)
{
    Loja loja;
    // The colour is rounded where it is used, and so when it is stored.
    Opcoes o{3, true, false, 254.5000001, -40, 1900};
    {
        QSettings s = loja.Abrir();
        SalvarCFG(s, o);
    }
    QSettings s = loja.Abrir();
    s.beginGroup(QStringLiteral("Zelpora 3.0"));
    const struct { const char* chave; const char* texto; } esperados[] = {
        {"Dificuldade", "3"}, {"Pequenas", "True"}, {"BorderColor", "255"},
        {"PreviewTop", "-40"}, {"PreviewLeft", "1900"}, {"Adaptar", "False"},
    };
    for (const auto& e : esperados)
        EXPECT_EQ(s.value(QLatin1String(e.chave)).toString(), QLatin1String(e.texto)) << e.chave;
    s.endGroup();
    Opcoes lido;
    LerCFG(s, lido);
    o.BorderColor = 255;
    EXPECT_EQ(lido, o);
}

TEST(Configuracao, TextoEstranhoVoltaAoPadrao)
{
    Loja loja;
    QFile f(loja.caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Hand-edited values: some convert (any case, a fraction, a number for a Boolean),
    // the rest fall back to the key's default.
    f.write("[Zelpora%203.0]\n"
            "Dificuldade=muito\n"
            "Pequenas=talvez\n"
            "BorderColor=1e99\n"
            "PreviewTop=99999999999\n"
            "PreviewLeft=12.5\n"
            "Adaptar=fALSE\n");
    f.close();
    QSettings s = loja.Abrir();
    Opcoes o{3, true, true, 0.0, 0, 0};
    LerCFG(s, o);
    EXPECT_EQ(o, (Opcoes{2, false, false, 8388608.0, 72, 12}));
}
