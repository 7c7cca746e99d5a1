#include "figuras_de_teste.h"
#include "files/associacao.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <map>

using namespace zelpo;
using figuras_de_teste::Conteudo;

namespace {

// Temporary data and config folders, published in the environment as the desktop does.
struct Xdg {
    figuras_de_teste::SemFerramentasDoDesktop semFerramentas;
    QTemporaryDir raiz;
    QString dados = raiz.filePath(QStringLiteral("dados")), config = raiz.filePath(QStringLiteral("config"));
    QString icone = raiz.filePath(QStringLiteral("zelpora.png"));
    QString mime = dados + QStringLiteral("/mime/packages/zelpora-zpr.xml");
    QString desktop = dados + QStringLiteral("/applications/zelpora.desktop");
    QString iconeTipo = dados + QStringLiteral("/icons/hicolor/48x48/mimetypes/application-x-zelpora-zpr.png");
    QString mimeapps = config + QStringLiteral("/mimeapps.list");
    Xdg()
    {
        qputenv("XDG_DATA_HOME", dados.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        QImage(48, 48, QImage::Format_ARGB32).save(icone);
    }
    ~Xdg()
    {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
    bool Associar(const QString& programa = QStringLiteral("/usr/games/zelpo")) const
    {
        return AssociarArquivo(QStringLiteral("zpr"), QStringLiteral("Jogo do Zelpora 3.0"), programa, icone);
    }
};

} // namespace

TEST(Associacao, CriaAsEntradasERepeteIgual)
{
    Xdg xdg;
    QDir().mkpath(xdg.config);
    ASSERT_TRUE(figuras_de_teste::Gravar(xdg.mimeapps, "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                                      "[Default Applications]\nimage/png=eog.desktop\n\n[Outro]\nx=y\n"));
    ASSERT_TRUE(xdg.Associar());
    std::map<QString, QByteArray> primeira;
    for (const QString& c : {xdg.mime, xdg.desktop, xdg.iconeTipo, xdg.mimeapps})
        primeira[c] = Conteudo(c);
    // The shipped files with the type, its glob and content rule, the command, the icon and
    // the keywords; and the default application.
    const std::pair<QString, const char*> trechos[] = {
        {xdg.mime, "<mime-type type=\"application/x-zelpora-zpr\">"}, {xdg.mime, "<glob pattern=\"*.zpr\"/>"},
        {xdg.mime, "<match type=\"string\" value=\"ZPR 2.0\""}, {xdg.mime, "<comment>Jogo do Zelpora 3.0</comment>"},
        {xdg.desktop, "\nExec=/usr/games/zelpo %f\n"}, {xdg.desktop, "\nMimeType=application/x-zelpora-zpr;\n"},
        {xdg.desktop, "\nKeywords=jigsaw;puzzle;quebra-cabeça;\n"},
    };
    for (const auto& [arquivo, trecho] : trechos)
        EXPECT_TRUE(primeira[arquivo].contains(trecho)) << trecho << " in\n" << primeira[arquivo].constData();
    EXPECT_EQ(primeira[xdg.iconeTipo], Conteudo(xdg.icone));
    EXPECT_EQ(primeira[xdg.mimeapps],
              QByteArray("[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
                         "image/png=eog.desktop\napplication/x-zelpora-zpr=zelpora.desktop\n\n[Outro]\nx=y\n"));
    // A second start finds every file as it would write it and writes none of them.
    const QDateTime antiga = QDateTime::fromSecsSinceEpoch(1000000000);
    for (const auto& [caminho, bytes] : primeira) {
        QFile arquivo(caminho);
        ASSERT_TRUE(arquivo.open(QIODevice::ReadWrite) && arquivo.setFileTime(antiga, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(xdg.Associar());
    for (const auto& [caminho, bytes] : primeira)
        EXPECT_EQ(QFileInfo(caminho).lastModified(), antiga) << caminho.toStdString();
}

TEST(Associacao, FalhaNumPassoParaOsSeguintes)
{
    Xdg xdg;
    // Tests run as root, so a read-only folder would not stop the write: put a file where
    // the mime folder must be.
    QDir().mkpath(xdg.dados);
    ASSERT_TRUE(figuras_de_teste::Gravar(xdg.dados + QStringLiteral("/mime"), {}));
    EXPECT_FALSE(xdg.Associar());
    EXPECT_FALSE(QFile::exists(xdg.desktop) || QFile::exists(xdg.mimeapps));
    // An icon file that is gone stops the registration before the type is written.
    QFile::remove(xdg.dados + QStringLiteral("/mime"));
    QFile::remove(xdg.icone);
    EXPECT_FALSE(xdg.Associar());
    EXPECT_FALSE(QFile::exists(xdg.mime) || QFile::exists(xdg.desktop));
}

TEST(Associacao, ArgumentoExecComBrancosEReservados)
{
    const struct { const char* programa; const char* exec; } casos[] = {
        {"/usr/games/zelpo", "/usr/games/zelpo"}, {"/opt/Meus Jogos/zelpo", "\"/opt/Meus Jogos/zelpo\""},
        {"/opt/a$b`c\"d/zelpo", "\"/opt/a\\$b\\`c\\\"d/zelpo\""}, {"/opt/100%/zelpo", "/opt/100%%/zelpo"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ArgumentoExec(QString::fromUtf8(c.programa)), QString::fromUtf8(c.exec)) << c.programa;
}

// A packaged start drops the player's registration only when it is this registration's
// own and names a program that is gone: then launcher, type and type icon all go.
TEST(Associacao, OrfaRetiradaSoComOProgramaSumido)
{
    Xdg xdg;
    EXPECT_FALSE(RetirarAssociacaoOrfa(PastasXdg::DoAmbiente(), QStringLiteral("zpr"))) << "nothing registered";
    const QString vivo = QCoreApplication::applicationFilePath(), sumido = QStringLiteral("/opt/Meus Jogos/x\\y/100%/zelpo");
    ASSERT_TRUE(xdg.Associar(sumido));
    // The key-file layer doubles the backslash again: four in the file.
    EXPECT_TRUE(Conteudo(xdg.desktop).contains("\nExec=\"/opt/Meus Jogos/x\\\\\\\\y/100%%/zelpo\" %f\n"))
        << Conteudo(xdg.desktop).constData();
    const struct { QString programa; QByteArray lancador; bool retirada; } casos[] = {
        {vivo, {}, false}, {sumido, "[Desktop Entry]\nExec=/opt/sumiu/zelpo --janela %f\n", false}, {sumido, {}, true}};
    for (const auto& c : casos) {
        ASSERT_TRUE(xdg.Associar(c.programa));
        ASSERT_TRUE(c.lancador.isEmpty() || figuras_de_teste::Gravar(xdg.desktop, c.lancador));
        EXPECT_EQ(RetirarAssociacaoOrfa(PastasXdg::DoAmbiente(), QStringLiteral("zpr")), c.retirada) << c.programa.toStdString();
        for (const QString& arquivo : {xdg.desktop, xdg.mime, xdg.iconeTipo})
            EXPECT_EQ(QFile::exists(arquivo), !c.retirada) << arquivo.toStdString();
        EXPECT_TRUE(QFile::exists(xdg.mimeapps)) << "the player's list of defaults is not ours to remove";
    }
}
