#include "files/configuracao.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTemporaryFile>

#include <memory>

using namespace zelpo;

TEST(Configuracao, ChaveAusenteOuEstranhaVoltaAoPadrao)
{
    // Hand-edited values: some convert (any case, a fraction), the rest fall back to the default.
    const struct { const char* ini; Opcoes esperadas; } casos[] = {
        {"", Opcoes{2, false, true, 8388608.0, 72, 56}},
        {"[Zelpora%203.0]\nDificuldade=muito\nPequenas=talvez\nBorderColor=1e99\nPreviewTop=99999999999\n"
         "PreviewLeft=12.5\nAdaptar=fALSE\n", Opcoes{2, false, false, 8388608.0, 72, 12}},
    };
    for (const auto& c : casos) {
        QTemporaryFile f;
        ASSERT_TRUE(f.open() && f.write(c.ini) >= 0 && f.flush());
        QSettings s(f.fileName(), QSettings::IniFormat);
        Opcoes o{3, !c.esperadas.Pequenas, !c.esperadas.Adaptar, 1.0, -9, -9};
        LerCFG(s, o);
        EXPECT_EQ(o, c.esperadas) << c.ini;
    }
}

TEST(Configuracao, GravaTextosEReleIgual)
{
    QTemporaryDir pasta;
    Opcoes o{3, true, false, 254.5000001, -40, 1900}; // the colour is stored rounded, as it is used
    // A store of its own, written out when it is destroyed at the end of the statement.
    SalvarCFG(*std::make_unique<QSettings>(pasta.filePath(QStringLiteral("cfg.ini")), QSettings::IniFormat), o);
    QSettings s(pasta.filePath(QStringLiteral("cfg.ini")), QSettings::IniFormat);
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
