#include "files/associacao.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <map>

using namespace zelpo;

namespace {

QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Temporary data and config folders, published in the environment as the desktop does.
struct Xdg {
    QTemporaryDir raiz;
    QString dados = raiz.filePath(QStringLiteral("dados"));
    QString config = raiz.filePath(QStringLiteral("config"));
    QString icone = raiz.filePath(QStringLiteral("zelpora.png"));
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
    QString Mime() const { return dados + QStringLiteral("/mime/packages/zelpora-zpr.xml"); }
    QString Desktop() const { return dados + QStringLiteral("/applications/zelpora.desktop"); }
    QString Icone() const { return dados + QStringLiteral("/icons/hicolor/48x48/mimetypes/application-x-zelpora-zpr.png"); }
    QString Mimeapps() const { return config + QStringLiteral("/mimeapps.list"); }
    bool Associar(const QString& programa = QStringLiteral("/usr/games/zelpo")) const
    {
        return AssociarArquivo(QStringLiteral("zpr"), QStringLiteral("Jogo do Zelpora 3.0"), programa, icone);
    }
};

} // namespace

TEST(Associacao, CriaAsEntradasERepeteIgual)
{
    Xdg xdg;
    {
        QDir().mkpath(xdg.config);
        QFile f(xdg.Mimeapps());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                "[Default Applications]\nimage/png=eog.desktop\n\n[Outro]\nx=y\n");
    }
    ASSERT_TRUE(xdg.Associar());
    std::map<QString, QByteArray> primeira;
    for (const QString& c : {xdg.Mime(), xdg.Desktop(), xdg.Icone(), xdg.Mimeapps()})
        primeira[c] = Conteudo(c);

    const QString mime = QString::fromUtf8(primeira[xdg.Mime()]);
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-zelpora-zpr\">")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.zpr\"/>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Jogo do Zelpora 3.0</comment>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment xml:lang=\"pt_BR\">Jogo do Zelpora 3.0</comment>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<icon name=\"application-x-zelpora-zpr\"/>")));
    EXPECT_EQ(primeira[xdg.Icone()], Conteudo(xdg.icone));
    const QString desktop = QString::fromUtf8(primeira[xdg.Desktop()]);
    EXPECT_TRUE(desktop.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=/usr/games/zelpo %f\n"))) << desktop.toStdString();
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nMimeType=application/x-zelpora-zpr;\n")));
    EXPECT_EQ(primeira[xdg.Mimeapps()],
              QByteArray("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                         "[Default Applications]\nimage/png=eog.desktop\n"
                         "application/x-zelpora-zpr=zelpora.desktop\n\n[Outro]\nx=y\n"));

    ASSERT_TRUE(xdg.Associar());
    for (const auto& [caminho, bytes] : primeira)
        EXPECT_EQ(Conteudo(caminho), bytes) << caminho.toStdString();
}

TEST(Associacao, FalhaNoPrimeiroPassoParaTudo)
{
    Xdg xdg;
    // Tests run as root, so a read-only folder would not stop the write: put a file where
    // the mime folder must be.
    QDir().mkpath(xdg.dados);
    QFile bloqueio(xdg.dados + QStringLiteral("/mime"));
    ASSERT_TRUE(bloqueio.open(QIODevice::WriteOnly));
    bloqueio.close();
    EXPECT_FALSE(xdg.Associar());
    EXPECT_FALSE(QFile::exists(xdg.Icone()));
    EXPECT_FALSE(QFile::exists(xdg.Desktop()));
    EXPECT_FALSE(QFile::exists(xdg.Mimeapps()));

    // An icon file that is gone stops the registration after the description.
    QFile::remove(bloqueio.fileName());
    QFile::remove(xdg.icone);
    EXPECT_FALSE(xdg.Associar());
    EXPECT_TRUE(Conteudo(xdg.Mime()).contains("<comment>"));
    EXPECT_FALSE(QFile::exists(xdg.Desktop()));
}

TEST(Associacao, ProgramaComBrancosNoExec)
{
    const struct { const char* programa; const char* exec; } casos[] = {
        {"/usr/games/zelpo", "/usr/games/zelpo"},
        {"/opt/Meus Jogos/zelpo", "\"/opt/Meus Jogos/zelpo\""},
        {"/opt/a$b`c\"d/zelpo", "\"/opt/a\\$b\\`c\\\"d/zelpo\""},
        {"/opt/100%/zelpo", "/opt/100%%/zelpo"},
        {"/opt/x\\y/zelpo", "\"/opt/x\\\\y/zelpo\""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ArgumentoExec(QString::fromUtf8(c.programa)), QString::fromUtf8(c.exec)) << c.programa;

    Xdg xdg;
    ASSERT_TRUE(xdg.Associar(QStringLiteral("/opt/Meus Jogos/x\\y/zelpo")));
    // The key-file layer doubles the backslash again: four in the file.
    EXPECT_TRUE(Conteudo(xdg.Desktop()).contains("\nExec=\"/opt/Meus Jogos/x\\\\\\\\y/zelpo\" %f\n"))
        << Conteudo(xdg.Desktop()).constData();
}
