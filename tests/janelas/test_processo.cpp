// The built program in a process of its own, offscreen, with a home of its own, playing a
// saved game given on its command line: ended with SIGTERM or SIGHUP it writes the game as
// it was at that moment and leaves the orderly way, without asking. (A copy outlives a
// SIGKILL at any moment: tests/core/test_recuperacao.cpp; the window's own copies after a
// crash are the random walk's.)
#include "ambiente_teste.h"

#include <csignal>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

namespace {

constexpr int ESPERA_MAXIMA = 120'000; // ms: a guard against a program that never starts

ino_t Inode(const QString& arquivo)
{
    struct stat e {};
    ::stat(QFile::encodeName(arquivo).constData(), &e);
    return e.st_ino;
}

} // namespace

TEST(Processo, SigtermOuSighupGuardamOJogoInteiro)
{
    JanelaDeTeste t(320, 256, 2);
    const QString arquivo = t.SalvarMeioJogo(3, 75);
    const JogoSalvo salvo = t.jogo();
    for (const int sinal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sinal);
        QTemporaryDir casa;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        for (const char* pasta : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"})
            amb.insert(QLatin1String(pasta), casa.path() + QLatin1Char('/') + QLatin1String(pasta));
        amb.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        amb.remove(QStringLiteral("ZELPO_RELATORIO"));
        QProcess programa;
        programa.setProcessEnvironment(amb);
        programa.start(QStringLiteral(ZELPO_BINARIOS "/zelpo"), {arquivo});

        // the program's first copy, once it is on disk
        const QDir pasta(casa.path() + QStringLiteral("/XDG_STATE_HOME/Brumas Vivas/Zelpora 3.0"));
        QStringList copias;
        ASSERT_TRUE(programa.waitForStarted(ESPERA_MAXIMA) && QTest::qWaitFor([&] {
            copias = pasta.entryList({QStringLiteral("*.zpr")}, QDir::Files);
            return !copias.isEmpty() || programa.state() == QProcess::NotRunning;
        }, ESPERA_MAXIMA));
        ASSERT_EQ(copias.size(), 1) << "no copy from the program";
        const QString primeira = pasta.filePath(copias[0]);
        const ino_t antes = Inode(primeira);

        ::kill(static_cast<pid_t>(programa.processId()), sinal);
        programa.waitForFinished(ESPERA_MAXIMA);
        EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(programa.exitCode(), 0);
        EXPECT_EQ(pasta.entryList(QDir::Files).size(), ArquivosDaCopia(primeira).size()) << "the copy alone, no lock";
        EXPECT_NE(Inode(primeira), antes) << "written again at the end";
        // the saved game, played on for as long or longer
        const std::optional<Recuperacao> c = LerCopia(primeira);
        ASSERT_TRUE(c && c->arquivoJogo == arquivo);
        EXPECT_GE(c->jogo.SegundosJogo, salvo.SegundosJogo);
        EXPECT_TRUE(teste::MesmoJogoForaDoRelogio(c->jogo, salvo));
    }
}
