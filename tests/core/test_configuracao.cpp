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
    Opcoes o;
    o.Dificuldade = 3;
    o.Pequenas = true;
    o.Adaptar = false;
    o.BorderColor = 1;
    o.PreviewTop = o.PreviewLeft = -9;
    LerCFG(s, o);
    EXPECT_EQ(o, Opcoes{});
    EXPECT_EQ(o.BorderColor, 8388608.0);
    EXPECT_EQ(o.PreviewTop, 72);
    EXPECT_EQ(o.PreviewLeft, 56);
}

TEST(Configuracao, GravaTextosEReleIgual)
{
    Loja loja;
    Opcoes o;
    o.Dificuldade = 3;
    o.Pequenas = true;
    o.Adaptar = false;
    o.BorderColor = 254.5000001; // rounded where used, and so when stored
    o.PreviewTop = -40;
    o.PreviewLeft = 1900;
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
    Opcoes o;
    o.Pequenas = true;
    LerCFG(s, o);
    EXPECT_EQ(o.Dificuldade, 2);
    EXPECT_FALSE(o.Pequenas);
    EXPECT_EQ(o.BorderColor, 8388608.0);
    EXPECT_EQ(o.PreviewTop, 72);
    EXPECT_EQ(o.PreviewLeft, 12);
    EXPECT_FALSE(o.Adaptar);
}

TEST(Configuracao, LojaDoUsuario)
{
    const auto s = AbrirConfiguracao();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format(), QSettings::IniFormat);
    EXPECT_EQ(s->applicationName(), QStringLiteral("Brumas Vivas"));
    EXPECT_EQ(s->organizationName(), QStringLiteral("Brumas Vivas"));
}
