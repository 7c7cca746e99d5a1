// Start-up of the game: the application object, Portuguese in Qt's own windows, the style,
// fonts and colours of the classic desktop, then the main window with the command line. The
// ends that come from outside (the desktop session, SIGTERM, SIGHUP) reach the window here.
#include "CoresSistema.h"
#include "Idioma.h"
#include "Sinais.h"
#include "frmZelpo.h"
#include "records/produto.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSessionManager>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <optional>

namespace {

// Installed, whatever the prefix, the program's data sits in ../share next to its folder.
QString Compartilhado(const QString& caminho)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + caminho;
}

// The picture folders sit beside the executable in the build tree, and in
// ../share/zelpora once installed.
QString PastaDoPrograma()
{
    const QString aqui = QCoreApplication::applicationDirPath();
    for (const QString& pasta : {aqui, Compartilhado(QStringLiteral("zelpora")), QStringLiteral(ZELPO_DATADIR)})
        if (QFileInfo(pasta + QStringLiteral("/Facil")).isDir())
            return QDir::cleanPath(pasta);
    return aqui;
}

// The program's icon as a file, for the saved-game file type: beside the executable in
// the build tree, in the icon theme folder once installed, else the theme name.
QString IconeDoPrograma()
{
    for (const QString& arquivo : {QCoreApplication::applicationDirPath() + QStringLiteral("/zelpora.png"),
                                   Compartilhado(QStringLiteral("icons/hicolor/256x256/apps/zelpora.png"))})
        if (QFileInfo(arquivo).isFile())
            return QFileInfo(arquivo).canonicalFilePath();
    return QStringLiteral("zelpora");
}

// Installed by a package, the launcher and the saved-game type are the system's, beside
// the program, and the package built the system's type database after writing the type:
// a start then registers nothing for the player, so that removing the package leaves no
// launcher behind in anybody's home, and drops a registration of the player's that an
// earlier copy of the game left pointing at a program since gone. An install by hand (cmake --install), whose type
// no database has read yet, still registers for the player, or a double click would not
// know a saved game.
bool RegistradoNoSistema()
{
    const QFileInfo lancador(Compartilhado(QStringLiteral("applications/zelpora.desktop")));
    const QFileInfo tipo(Compartilhado(QStringLiteral("mime/packages/zelpora-zpr.xml")));
    const QFileInfo base(Compartilhado(QStringLiteral("mime/mime.cache")));
    return lancador.isFile() && tipo.isFile() && base.isFile() && base.lastModified() >= tipo.lastModified();
}

} // namespace

int main(int argc, char** argv)
{
    // A write past the file-size limit fails like a full disk and is reported as one,
    // rather than ending the game.
    std::signal(SIGXFSZ, SIG_IGN);
    // QApplication takes "-style" out of the arguments: look for it first.
    QStringList linhaOriginal;
    for (int i = 0; i < argc; ++i)
        linhaOriginal << QString::fromLocal8Bit(argv[i]);
    const bool estiloDoJogador = zelpo::EstiloEscolhido(linhaOriginal, qEnvironmentVariable("QT_STYLE_OVERRIDE"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(zelpo::TITULO_APLICACAO));
    QApplication::setOrganizationName(QString::fromUtf8(zelpo::FABRICANTE));
    QApplication::setDesktopFileName(QStringLiteral("zelpora"));

    zelpo::FalarPortugues();

    zelpo::AplicarAparenciaClassica(estiloDoJogador);

    zelpo::Ambiente ambiente;
    ambiente.pastaPrograma = PastaDoPrograma();
    ambiente.icone = IconeDoPrograma();
    ambiente.tipoDoSistema = RegistradoNoSistema();
    // The report of an install check starts a game and leaves at once: its copy of the
    // game goes to a folder of its own, so that it is neither offered nor left behind.
    const bool relatorio = qEnvironmentVariableIsSet("ZELPO_RELATORIO");
    std::optional<QTemporaryDir> pastaDoRelatorio;
    if (relatorio)
        ambiente.pastaRecuperacao = pastaDoRelatorio.emplace().path();
    zelpo::frmZelpo janela(ambiente);
    // The session may end without asking anybody: the game in play is kept first.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &janela, [&janela] { janela.GravarCopia(); });
    zelpo::Sinais sinais;
    QObject::connect(&sinais, &zelpo::Sinais::recebido, &janela, [&janela] {
        janela.EncerrarPorSinal();
        QCoreApplication::quit();
    });

    // The command line is one path, perhaps with blanks, perhaps in double quotes.
    QStringList argumentos = QApplication::arguments().mid(1);
    janela.Iniciar(argumentos.join(QLatin1Char(' ')));
    if (sinais.Recebido()) // while a question was open at start-up
        return 0;

    // For install checks: report the game that started and leave at once.
    if (relatorio) {
        const zelpo::JogoSalvo& jogo = janela.partida().Jogo();
        QApplication::processEvents();
        const QRect moldura = janela.frameGeometry();
        std::printf("figura=%s grade=%dx%d pecas=%d estilo=%s moldura=%d,%d,%dx%d maximizada=%d\n",
                    qPrintable(janela.partida().SessaoAtual().ArquivoFigura), jogo.Colunas, jogo.Linhas,
                    jogo.PartesNaRolagem, qPrintable(zelpo::NomeDoEstilo(QApplication::style())), moldura.x(), moldura.y(),
                    moldura.width(), moldura.height(), janela.isMaximized() ? 1 : 0);
        std::fflush(stdout); // before any exit-time checker could end the process
        return 0;
    }
    return app.exec();
}
