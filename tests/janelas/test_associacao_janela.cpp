// The saved-game file type is registered on a start without a file, never with one. (What
// the files hold, byte for byte, and that a second registration rewrites nothing, is
// checked on the registration itself in tests/core/test_associacao.cpp.)
#include "ambiente_teste.h"

using namespace zelpo;

TEST(AssociacaoNoInicio, SemArquivoRegistraEComArquivoNao)
{
    figuras_de_teste::SemFerramentasDoDesktop semFerramentas;
    QTemporaryDir raiz;
    qputenv("XDG_DATA_HOME", raiz.filePath(QStringLiteral("dados")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", raiz.filePath(QStringLiteral("config")).toLocal8Bit());
    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    // Every file under the temporary home after a start with the given command line.
    const auto arquivosDepois = [&](const QString& linhaDeComando) {
        Ambiente amb;
        amb.pastaPrograma = QStringLiteral(ZELPO_FONTE "/pictures");
        amb.semente = 1;
        amb.programa = raiz.filePath(QStringLiteral("meus jogos/zelpo"));
        amb.icone = QStringLiteral(ZELPO_FONTE "/resources/icons/zelpora-256.png");
        amb.arquivoConfiguracao = raiz.filePath(QStringLiteral("cfg.ini"));
        {
            frmZelpo w(amb);
            w.Iniciar(linhaDeComando);
            // the registration follows the first paint
            EXPECT_TRUE(QTest::qWaitFor([&w] { return w.tabuleiro().Pintada(); }));
            QCoreApplication::processEvents();
            w.close();
        }
        QStringList arquivos;
        for (QDirIterator it(raiz.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            arquivos << it.next().mid(raiz.path().size());
        return arquivos;
    };
    const QStringList comArquivo = arquivosDepois(QLatin1Char('"') + raiz.filePath(QStringLiteral("nada.zpr")) + QLatin1Char('"'));
    const QStringList semArquivo = arquivosDepois({});
    // The files of the type; the caches that the desktop's tools build beside them are not ours.
    for (const char* nosso : {"/dados/mime/packages/zelpora-zpr.xml", "/dados/applications/zelpora.desktop",
                              "/config/mimeapps.list", "/dados/icons/hicolor/256x256/mimetypes/application-x-zelpora-zpr.png"}) {
        EXPECT_FALSE(comArquivo.contains(QLatin1String(nosso))) << "written by a start with a file: " << nosso;
        EXPECT_TRUE(semArquivo.contains(QLatin1String(nosso))) << nosso;
    }
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    DefinirRespondedor({});
}
