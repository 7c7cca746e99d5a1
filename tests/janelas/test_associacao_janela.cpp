// The saved-game file type is registered on a start without a file, never with one.
#include "Mensagem.h"
#include "Superficie.h"
#include "frmZelpo.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace zelpo;

namespace {

// The files under a folder with a digest of each, to compare two starts.
std::map<QString, QByteArray> Arquivos(const QString& pasta)
{
    std::map<QString, QByteArray> mapa;
    QDirIterator it(pasta, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString caminho = it.next();
        QFile f(caminho);
        if (f.open(QIODevice::ReadOnly))
            mapa[caminho.mid(pasta.size())] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
    return mapa;
}

struct InicioComXdg {
    QTemporaryDir raiz;
    QString dados = raiz.path() + QStringLiteral("/dados");
    QString config = raiz.path() + QStringLiteral("/config");
    QString programa = raiz.path() + QStringLiteral("/meus jogos/zelpo");

    InicioComXdg()
    {
        qputenv("XDG_DATA_HOME", dados.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    }
    ~InicioComXdg()
    {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        DefinirRespondedor({});
    }

    void Iniciar(const QString& linhaDeComando)
    {
        Ambiente amb;
        amb.pastaPrograma = QStringLiteral(ZELPO_FONTE "/pictures");
        amb.semente = 1;
        amb.programa = programa;
        amb.icone = QStringLiteral(ZELPO_FONTE "/resources/icons/zelpora-256.png");
        amb.arquivoConfiguracao = raiz.path() + QStringLiteral("/cfg.ini");
        frmZelpo w(amb);
        bool pintada = false;
        QObject::connect(w.findChild<Superficie*>(), &Superficie::pintada, [&] { pintada = true; });
        w.Iniciar(linhaDeComando);
        // the registration follows the first paint
        EXPECT_TRUE(QTest::qWaitFor([&] { return pintada; }));
        QCoreApplication::processEvents();
        w.close();
    }
};

} // namespace

TEST(AssociacaoNoInicio, SemArquivoRegistraEComArquivoNao)
{
    InicioComXdg xdg;
    xdg.Iniciar(QStringLiteral("\"") + xdg.raiz.path() + QStringLiteral("/nada.zpr\""));
    EXPECT_TRUE(Arquivos(xdg.raiz.path() + QStringLiteral("/dados")).empty()) << "a start with a file writes nothing";
    EXPECT_FALSE(QFile::exists(xdg.config + QStringLiteral("/mimeapps.list")));

    // The files of the type; the caches that the desktop's tools build beside them are not ours.
    const QStringList nossos{QStringLiteral("/dados/mime/packages/zelpora-zpr.xml"),
                             QStringLiteral("/dados/applications/zelpora.desktop"), QStringLiteral("/config/mimeapps.list"),
                             QStringLiteral("/dados/icons/hicolor/256x256/mimetypes/application-x-zelpora-zpr.png")};
    const auto registrados = [&] {
        auto todos = Arquivos(xdg.raiz.path());
        std::map<QString, QByteArray> so;
        for (const QString& n : nossos)
            so[n] = todos.count(n) ? todos[n] : QByteArray();
        return so;
    };
    xdg.Iniciar({});
    const auto primeira = registrados();
    for (const auto& [nome, resumo] : primeira)
        EXPECT_FALSE(resumo.isEmpty()) << nome.toStdString();
    xdg.Iniciar({});
    EXPECT_TRUE(primeira == registrados()) << "a second start writes the same files";
}

TEST(AssociacaoNoInicio, XdgMimeReconheceOTipo)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    const QString atualizar = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    const QString leitor = QStandardPaths::findExecutable(QStringLiteral("mimetype"));
    if (xdgMime.isEmpty() || atualizar.isEmpty() || leitor.isEmpty())
        GTEST_SKIP() << "xdg-utils, shared-mime-info or the mimetype reader is not installed";
    InicioComXdg xdg;
    xdg.Iniciar({});
    ASSERT_EQ(QProcess::execute(atualizar, {xdg.dados + QStringLiteral("/mime")}), 0);
    QFile jogo(xdg.raiz.path() + QStringLiteral("/x.zpr"));
    ASSERT_TRUE(jogo.open(QIODevice::WriteOnly));
    jogo.write("ZPR 2.0 ");
    jogo.close();

    const auto consultar = [&](const QStringList& argumentos) {
        QProcess p;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("XDG_DATA_HOME"), xdg.dados);
        amb.insert(QStringLiteral("XDG_CONFIG_HOME"), xdg.config);
        amb.insert(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/share"));
        p.setProcessEnvironment(amb);
        p.start(xdgMime, argumentos);
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };
    const QString tipo = consultar({QStringLiteral("query"), QStringLiteral("filetype"), jogo.fileName()});
    EXPECT_EQ(tipo, QStringLiteral("application/x-zelpora-zpr"));
    EXPECT_EQ(consultar({QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/x-zelpora-zpr")}),
              QStringLiteral("zelpora.desktop"));
}
