// The built program in a process of its own, offscreen, with a home of its own, playing a
// saved game given on its command line: ended with SIGTERM or SIGHUP it writes the game as
// it was at that moment and leaves the orderly way, without asking. (A copy outlives a
// SIGKILL at any moment: tests/core/test_recuperacao.cpp; the window's own copies after a
// crash are the random walk's.)
#include "ambiente_teste.h"

#include <QProcess>

#include <csignal>
#include <sys/stat.h>

using namespace zelpo;
using zelpo::teste::Conteudo;
using zelpo::teste::JanelaDeTeste;

namespace {

constexpr int ESPERA_MAXIMA = 120'000; // ms: a guard against a program that never starts

class Programa {
public:
    QString Pasta() const { return casa_.path() + QStringLiteral("/estado/Brumas Vivas/Zelpora 3.0"); }
    QStringList Arquivos() const { return QDir(Pasta()).entryList(QDir::Files, QDir::Name); }
    const QProcess& Processo() const { return processo_; }

    // Starts the program on `arquivo`; the path of its first copy once it is on disk, or "".
    QString Iniciar(const QString& arquivo)
    {
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        for (const char* pasta : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            amb.insert(QLatin1String(pasta), casa_.path() + QLatin1Char('/') + QLatin1String(pasta));
        amb.insert(QStringLiteral("XDG_STATE_HOME"), casa_.path() + QStringLiteral("/estado"));
        amb.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        amb.remove(QStringLiteral("ZELPO_RELATORIO"));
        processo_.setProcessEnvironment(amb);
        processo_.start(QStringLiteral(ZELPO_BINARIOS "/zelpo"), {arquivo});
        QStringList copias;
        const bool pronto = processo_.waitForStarted(ESPERA_MAXIMA) && QTest::qWaitFor([&] {
            copias = QDir(Pasta()).entryList({QStringLiteral("*.zpr")}, QDir::Files);
            return !copias.isEmpty() || processo_.state() == QProcess::NotRunning;
        }, ESPERA_MAXIMA);
        return pronto && copias.size() == 1 ? Pasta() + QLatin1Char('/') + copias[0] : QString();
    }
    void Sinal(int sinal)
    {
        ::kill(static_cast<pid_t>(processo_.processId()), sinal);
        processo_.waitForFinished(ESPERA_MAXIMA);
    }

private:
    QTemporaryDir casa_;
    QProcess processo_;
};

ino_t Inode(const QString& arquivo)
{
    struct stat e {};
    ::stat(QFile::encodeName(arquivo).constData(), &e);
    return e.st_ino;
}

// The saved game, played on for as long or longer.
bool MesmoJogo(JogoSalvo jogo, const JogoSalvo& salvo)
{
    const bool relogio = jogo.SegundosJogo >= salvo.SegundosJogo;
    jogo.SegundosJogo = salvo.SegundosJogo;
    return relogio && jogo == salvo;
}

// The copy holds the saved game and names its file.
bool CopiaDoJogo(const QString& copia, const JogoSalvo& salvo, const QString& arquivo)
{
    const std::optional<Recuperacao> c = LerCopia(copia);
    return c && c->arquivoJogo == arquivo && MesmoJogo(c->jogo, salvo);
}

} // namespace

TEST(Processo, SigtermOuSighupGuardamOJogoInteiro)
{
    JanelaDeTeste t(320, 256, 2);
    const QString arquivo = t.SalvarMeioJogo(3, 75);
    const JogoSalvo salvo = t.jogo();
    for (const int sinal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sinal);
        Programa p;
        const QString primeira = p.Iniciar(arquivo);
        ASSERT_FALSE(primeira.isEmpty()) << "no copy from the program";
        const ino_t antes = Inode(primeira);
        p.Sinal(sinal);
        EXPECT_EQ(p.Processo().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.Processo().exitCode(), 0);
        EXPECT_EQ(p.Arquivos().size(), ArquivosDaCopia(primeira).size()) << "the copy alone, no lock";
        EXPECT_TRUE(p.Arquivos().filter(QStringLiteral(".lock")).isEmpty());
        EXPECT_NE(Inode(primeira), antes) << "written again at the end";
        EXPECT_TRUE(CopiaDoJogo(primeira, salvo, arquivo));
    }
}
