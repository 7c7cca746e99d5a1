#include "figuras_de_teste.h"
#include "files/configuracao.h"

#include <QSettings>

#include <sys/stat.h>

using namespace zelpo;

TEST(Configuracao, EstranhoVoltaAoPadraoEGravadoReleIgual)
{
    // Hand-edited values: some convert (any case, a fraction), the rest fall back to the default.
    const struct { const char* ini; Opcoes esperadas; } casos[] = {
        {"", Opcoes{{2, false, true}, 8388608.0, 72, 56}},
        {"[Zelpora%203.0]\nDificuldade=muito\nPequenas=talvez\nBorderColor=1e99\nPreviewTop=99999999999\n"
         "PreviewLeft=12.5\nAdaptar=fALSE\n", Opcoes{{2, false, false}, 8388608.0, 72, 12}},
    };
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("cfg.ini"));
    for (const auto& c : casos) {
        ASSERT_TRUE(figuras_de_teste::Gravar(arquivo, c.ini));
        EXPECT_EQ(LerCFG(arquivo), c.esperadas) << c.ini;
    }
    // A FIFO in the file's place is not waited on: the defaults, at once.
    QFile::remove(arquivo);
    ASSERT_EQ(mkfifo(QFile::encodeName(arquivo).constData(), 0600), 0);
    EXPECT_EQ(LerCFG(arquivo), Opcoes{});
    EXPECT_FALSE(SalvarCFG(arquivo, Opcoes{}).isEmpty()) << "a FIFO is not replaced";

    // Written as text, in a folder made for it, and read back the same.
    const QString novo = pasta.filePath(QStringLiteral("Brumas Vivas/cfg.ini"));
    Opcoes o{{3, true, false}, 254.5000001, -40, 1900}; // the colour is stored rounded, as it is used
    ASSERT_EQ(SalvarCFG(novo, o), QString());
    QSettings s(novo, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Zelpora 3.0"));
    const struct { const char* chave; const char* texto; } esperados[] = {
        {"Dificuldade", "3"}, {"Pequenas", "True"}, {"BorderColor", "255"},
        {"PreviewTop", "-40"}, {"PreviewLeft", "1900"}, {"Adaptar", "False"},
    };
    for (const auto& e : esperados)
        EXPECT_EQ(s.value(QLatin1String(e.chave)).toString(), QLatin1String(e.texto)) << e.chave;
    o.BorderColor = 255;
    EXPECT_EQ(LerCFG(novo), o);
}
