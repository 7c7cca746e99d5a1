// The copy of the game in play: its files, the copies a new start may find, when the copy
// is written and deleted, driven through a Partida without a window, and a restored copy
// that survives a kill at any moment.
#include "figuras_de_teste.h"
#include "files/recuperacao.h"
#include "files/zpr.h"
#include "game/formacao.h"
#include "game/partida.h"
#include "game/salvaguarda.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <cstdio>
#include <random>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

const QByteArray FIGURA = QByteArray("BM\x01\x80\xFF\x00\x7F", 7).repeated(4000);
const char FILHO_RESTAURA[] = "ZELPO_FILHO_RESTAURA";

// A new 3 x 2 game in play with two starting pieces, never saved, cut from a picture read.
Partida NovoJogo(const QByteArray& figura = FIGURA)
{
    JogoSalvo j = JogoNovo(3, 2, 2, 11, {250, 40});
    j.BytesFigura = figura;
    j.ExtensaoFigura = QStringLiteral(".bmp");
    Partida p;
    p.Comecar(QStringLiteral("/figuras/praia/figura.bmp"), j, 1000);
    return p;
}

// A starting piece while there are some, else a piece fitted next to a placed one.
void Colocar(Partida& p)
{
    const JogoSalvo& j = p.Jogo();
    int16_t peca = j.PartesRolagem[0];
    for (int s = 0; j.PartesIniciais == 0 && !TemVizinhaColocada(j, peca); ++s)
        peca = j.PartesRolagem[s + 1];
    const Jogada jogada = j.PartesIniciais > 0 ? p.Pegar(peca) : p.Soltar(peca, LugarNaGrade(j, peca));
    ASSERT_TRUE(jogada == Jogada::Encaixada || jogada == Jogada::Completa);
}

} // namespace

TEST(Recuperacao, EstadoPequenoFiguraAParteEDanosRecusados)
{
    QTemporaryDir pasta;
    Recuperacao r = RecuperacaoDe(NovoJogo());
    r.arquivoJogo = QStringLiteral("/home/ana/Área de trabalho/quebra-cabeça.zpr");
    const QString copia = pasta.filePath(QStringLiteral("andamento.zpr"));
    const QString figura = ArquivoDaFigura(copia, FIGURA);
    EXPECT_TRUE(figura.startsWith(copia + QLatin1Char('.')) && figura.endsWith(QStringLiteral(".figura")));
    const QByteArray estado = CodificarEstado(r, figura);
    // The game as a saved game holds it without its picture, then the names.
    JogoSalvo semFigura = r.jogo;
    semFigura.BytesFigura = MarcadorFigura();
    const QByteArray zpr = CodificarZPR(semFigura);
    ASSERT_EQ(estado.left(zpr.size()), zpr);
    EXPECT_FALSE(DecodificarZPR(estado).jogo);
    ASSERT_TRUE(Gravar(copia, estado));
    ASSERT_TRUE(Gravar(figura, FIGURA));
    EXPECT_EQ(LerCopia(copia), r);
    EXPECT_EQ(ArquivosDaCopia(copia), (QStringList{copia, figura}));

    const auto trocado = [&](qsizetype pos, char c) { QByteArray b = estado; b[pos] = c; return b; };
    // The older layout, one file with the picture inside, is still read (the copies of the
    // next two tests are written so), and refused cut short.
    const struct { QByteArray estado, figura; } danos[] = {
        {estado.chopped(1), FIGURA}, {estado + 'x', FIGURA}, {trocado(zpr.size() + 4, 'X'), FIGURA},
        {trocado(zpr.size() + 8 + 2, '\x7F'), FIGURA},   // a name longer than any path
        {trocado(TAMANHO_MAGICA_ZPR, '\x50'), FIGURA},   // a tray slot that names no piece
        {estado, FIGURA.chopped(1)}, {estado, FIGURA + 'x'}, {estado, {}},
        {CodificarEstado(r, QStringLiteral("/etc/passwd.figura")), FIGURA},
        {CodificarRecuperacao(r).chopped(1), FIGURA}, // the older layout
    };
    for (const auto& d : danos) {
        ASSERT_TRUE(Gravar(copia, d.estado));
        ASSERT_TRUE(Gravar(figura, d.figura));
        EXPECT_FALSE(LerCopia(copia)) << d.estado.size() << ' ' << d.figura.size();
    }
}

TEST(Recuperacao, ProcuraACopiaMaisNovaSemDonoEApagaAsDanificadas)
{
    QTemporaryDir pasta;
    const QString p = pasta.path();
    const Partida jogo = NovoJogo();
    const QByteArray boa = CodificarRecuperacao(RecuperacaoDe(jogo));
    const QString velha = p + QStringLiteral("/velha.zpr"), viva = p + QStringLiteral("/viva.zpr");
    ASSERT_TRUE(Gravar(velha, boa, 300));
    ASSERT_TRUE(Gravar(viva, boa, 10)); // its program is running
    ASSERT_TRUE(Gravar(p + QStringLiteral("/ruim.zpr"), "ZPR 2.0 lixo", 5));
    TravaDeCopia travaViva = TravarCopia(viva);
    ASSERT_TRUE(travaViva.trava);
    // held for five minutes already: a game in play is never taken, however long it lasts
    const QString lockViva = viva + QStringLiteral(".lock");
    ASSERT_TRUE(Gravar(lockViva, Conteudo(lockViva), 300));
    // Locks of dead programs: one beside its copy, one whose copy is gone.
    QProcess morto;
    morto.start(QStringLiteral("true"), {});
    ASSERT_TRUE(morto.waitForStarted());
    const QByteArray travaMorta =
        QByteArray::number(morto.processId()) + "\ntrue\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    morto.waitForFinished();
    ASSERT_TRUE(Gravar(velha + QStringLiteral(".lock"), travaMorta));
    ASSERT_TRUE(Gravar(p + QStringLiteral("/sumida.zpr.lock"), travaMorta));

    const QStringList restantes{QStringLiteral("velha.zpr"), QStringLiteral("velha.zpr.lock"),
                                QStringLiteral("viva.zpr"), QStringLiteral("viva.zpr.lock")};
    {
        std::optional<CopiaDeixada> achada = ProcurarRecuperacao(p);
        ASSERT_TRUE(achada);
        EXPECT_EQ(achada->Arquivo(), velha);
        EXPECT_EQ(achada->Dados(), RecuperacaoDe(jogo));
        EXPECT_EQ(QDir(p).entryList(QDir::Files, QDir::Name), restantes);
        EXPECT_FALSE(ProcurarRecuperacao(p)) << "while one start offers it, no other does";
    } // let go: it stays for a later start
    std::optional<CopiaDeixada> outraVez = ProcurarRecuperacao(p);
    ASSERT_TRUE(outraVez);
    outraVez->Apagar();
    EXPECT_EQ(QDir(p).entryList(QDir::Files, QDir::Name), restantes.mid(2));
    travaViva.trava.reset(); // its program ended without deleting it
    EXPECT_TRUE(ProcurarRecuperacao(p));

    // A lock written on another machine: its owner cannot be checked until it is a day old.
    const QByteArray alheia = "4242\nzelpo\noutra-maquina\nidentidade-de-outra\n";
    for (const auto& [idade, oferecida] : {std::pair{3600, false}, std::pair{2 * 86400, true}}) {
        ASSERT_TRUE(Gravar(lockViva, alheia, idade));
        EXPECT_EQ(ProcurarRecuperacao(p).has_value(), oferecida) << idade;
    }
}

// A copy exists exactly while a game is in play, holds it but for at most 30 s of clock,
// goes when the game ends the orderly way, and is final when the program is ended. Its
// picture is written once; the clock's copies write the small state alone. (The random
// walk checks the copy against the game after every command of the window.)
TEST(Salvaguarda, CopiaEnquantoHaJogoEmAndamento)
{
    QTemporaryDir pasta;
    Partida jogo;
    Salvaguarda s(pasta.path() + QStringLiteral("/estado/zelpora"));
    // The copy on disk: the game with its clock at `segundos`, or none (-1).
    const auto copia = [&](int32_t segundos) {
        s.Esperar();
        const std::optional<Recuperacao> c = LerCopia(s.Arquivo());
        if (segundos < 0)
            return !c.has_value() && QDir(s.Pasta()).entryList({QStringLiteral("*.figura")}).isEmpty();
        Recuperacao esperada = RecuperacaoDe(jogo);
        esperada.jogo.SegundosJogo = segundos;
        return c == esperada;
    };
    jogo = NovoJogo();
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(0)) << "play started";
    const QString figura = ArquivosDaCopia(s.Arquivo()).value(1);
    const QDateTime figuraEscrita = QFileInfo(figura).lastModified();
    for (const auto& [ms, segundos] : {std::pair{29'000, 0}, {30'000, 30}}) {
        jogo.Tique(1000 + ms);
        s.Tique(jogo);
        EXPECT_TRUE(copia(segundos)) << ms << " ms of clock alone";
    }
    jogo.Tique(1000 + 35'000);
    Colocar(jogo);
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(35)) << "a piece";
    EXPECT_LT(QFileInfo(s.Arquivo()).size(), 4096);
    EXPECT_EQ(QFileInfo(figura).lastModified(), figuraEscrita) << "the picture is written once";
    jogo = NovoJogo(FIGURA + "outra");
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(0)) << "another picture";
    EXPECT_FALSE(QFile::exists(figura));
    while (jogo.EmJogo())
        Colocar(jogo);
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(-1)) << "complete";

    // Ended from outside 10 s into a game: the copy has that moment, whatever comes next.
    jogo = NovoJogo();
    jogo.Tique(1000 + 10'000);
    s.Finalizar(jogo);
    EXPECT_TRUE(copia(10));
    const QByteArray final = Conteudo(s.Arquivo());
    s.Descartar();
    jogo.Limpar();
    s.Atualizar(jogo);
    s.Esperar();
    EXPECT_EQ(Conteudo(s.Arquivo()), final);

    // Left through the exit question: no copy, then or after.
    Salvaguarda saindo(pasta.path());
    jogo = NovoJogo();
    saindo.Atualizar(jogo);
    saindo.Descartar();
    Colocar(jogo);
    saindo.Atualizar(jogo);
    saindo.Esperar();
    EXPECT_FALSE(QFile::exists(saindo.Arquivo()));

    // Taken back at a start, then left before a copy of its own was written (a file that
    // failed to open cleared the screen): the copy taken back goes with the game.
    const QString deixadas = pasta.filePath(QStringLiteral("deixadas")), deixada = deixadas + QStringLiteral("/d.zpr");
    QDir().mkpath(deixadas);
    ASSERT_TRUE(Gravar(deixada, CodificarRecuperacao(RecuperacaoDe(jogo))));
    std::optional<CopiaDeixada> achada = ProcurarRecuperacao(deixadas);
    ASSERT_TRUE(achada);
    Salvaguarda retomada(deixadas);
    retomada.Adotar(std::move(*achada));
    jogo.Limpar();
    retomada.Atualizar(jogo);
    retomada.Esperar();
    EXPECT_FALSE(QFile::exists(deixada));
}

// A copy that cannot be kept is told once per run, naming the folder and the reason.
TEST(Salvaguarda, FalhaDitaUmaVezPorExecucao)
{
    Salvaguarda s(QStringLiteral("/dev/null/estado")); // a folder inside a file
    Partida jogo = NovoJogo();
    s.Atualizar(jogo);
    const QString aviso = s.TomarAviso().value_or(QString());
    EXPECT_TRUE(aviso.contains(QStringLiteral("'/dev/null/estado'"))) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains(QStringLiteral("a pasta não pôde ser criada")));
    Colocar(jogo);
    s.Atualizar(jogo);
    EXPECT_FALSE(s.TomarAviso());
}

// Run by RestauradaSobreviveAMorteEmQualquerMomento in a process of its own: takes back
// the copy of the folder, says so, forms the puzzle and plays on until it is killed.
TEST(Salvaguarda, FilhoQueRestaura)
{
    const QString pasta = qEnvironmentVariable(FILHO_RESTAURA);
    if (pasta.isEmpty())
        GTEST_SKIP() << "only in the child process";
    std::optional<CopiaDeixada> copia = ProcurarRecuperacao(pasta);
    ASSERT_TRUE(copia);
    Recuperacao dados = copia->Dados();
    Salvaguarda s(pasta);
    s.Adotar(std::move(*copia));
    std::printf("aceito\n");
    std::fflush(stdout);
    FormarSalvo(dados.jogo, COR_BORDA_PADRAO); // the puzzle formed as the program forms it, then played
    Partida jogo;
    jogo.AbrirSalvo(dados.arquivoJogo, dados.arquivoFigura, dados.jogo, 0);
    for (int i = 1; i <= 10'000; ++i) {
        jogo.Tique(i * 1000);
        s.Tique(jogo);
        QThread::msleep(1);
    }
}

// Killed at any moment after Sim, the program leaves the copy it took back or its own.
TEST(Salvaguarda, RestauradaSobreviveAMorteEmQualquerMomento)
{
    QTemporaryDir pasta;
    // a picture of a few megabytes, so that writing it takes a while
    const Recuperacao original = RecuperacaoDe(NovoJogo(Bmp(1200, 900, 24, 0, {}, QByteArray(1200 * 900 * 3, '\x5A'))));
    ASSERT_TRUE(Gravar(pasta.filePath(QStringLiteral("deixada.zpr")), CodificarRecuperacao(original)));
    std::mt19937 gerador(7);
    std::uniform_int_distribution<int> espera(0, 250);
    for (int i = 0; i < 12; ++i) {
        QProcess filho;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QLatin1String(FILHO_RESTAURA), pasta.path());
        filho.setProcessEnvironment(amb);
        filho.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=Salvaguarda.FilhoQueRestaura")});
        ASSERT_TRUE(filho.waitForStarted());
        QByteArray linha;
        while (linha != "aceito\n" && (filho.canReadLine() || filho.waitForReadyRead(30'000)))
            linha = filho.canReadLine() ? filho.readLine() : QByteArray();
        ASSERT_EQ(linha, "aceito\n");
        const int ms = espera(gerador);
        QThread::msleep(static_cast<unsigned long>(ms));
        filho.kill();
        filho.waitForFinished();
        std::optional<CopiaDeixada> achada = ProcurarRecuperacao(pasta.path());
        ASSERT_TRUE(achada) << "killed " << ms << " ms after Sim";
        Recuperacao deixada = achada->Dados();
        deixada.jogo.SegundosJogo = original.jogo.SegundosJogo; // the same game, whatever the clock says
        EXPECT_EQ(deixada, original) << ms;
    }
}
