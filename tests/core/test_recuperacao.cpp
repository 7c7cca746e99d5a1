// The copy of the game in play: its file, the copies a new start may find, and when the
// copy is written and deleted, driven through a Partida without a window.
#include "files/recuperacao.h"
#include "files/zpr.h"
#include "game/aleatorio.h"
#include "game/partida.h"
#include "game/salvaguarda.h"
#include "play/encaixe.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

using namespace zelpo;

namespace {

const QByteArray FIGURA = QByteArray("BM\x01\x80\xFF\x00\x7F", 7).repeated(40);

// A new 3 x 2 game in play, never saved, cut from `figura.bmp` whose bytes were read.
void NovoJogo(Partida& p, int32_t ticks = 1000)
{
    Opcoes o;
    o.Dificuldade = 2;
    p.LimparTela();
    p.NovaFigura(QStringLiteral("/figuras/praia/figura.bmp"), FIGURA, o);
    p.Cortada(3, 2, 40, 250);
    Aleatorio rnd;
    rnd.Semear(11);
    p.SortearPartes(rnd);
    p.IniciarJogo(ticks);
}

// Chooses a starting piece, as a click on the tray does.
void Escolher(Partida& p)
{
    ASSERT_TRUE(p.VerificarOK(p.Jogo().PartesRolagem[0], {}));
    p.AtualizarRolagem();
    p.ParteInicialEscolhida();
}

QByteArray Ler(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escrever(const QString& arquivo, const QByteArray& bytes)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

std::optional<Recuperacao> CopiaEm(const QString& arquivo)
{
    return DecodificarRecuperacao(Ler(arquivo));
}

QStringList Arquivos(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(Recuperacao, ArquivoEOJogoSalvoMaisONomeEDanosRecusados)
{
    Partida p;
    NovoJogo(p);
    Recuperacao r = RecuperacaoDe(p);
    r.arquivoJogo = QStringLiteral("/home/ana/Área de trabalho/quebra-cabeça.zpr");
    const QByteArray bytes = CodificarRecuperacao(r);
    // The game as a saved game holds it, byte for byte, with the picture that was read.
    const QByteArray zpr = CodificarZPR(r.jogo);
    ASSERT_EQ(bytes.left(zpr.size()), zpr);
    EXPECT_EQ(r.jogo.BytesFigura, FIGURA);
    EXPECT_EQ(r.jogo.ExtensaoFigura, QStringLiteral(".bmp"));
    EXPECT_EQ(r.arquivoFigura, QStringLiteral("/figuras/praia/figura.bmp"));
    ASSERT_EQ(DecodificarRecuperacao(bytes), r);
    // The saved-game reader refuses it, and a saved game is not a copy.
    EXPECT_FALSE(DecodificarZPR(bytes).jogo);
    EXPECT_FALSE(DecodificarRecuperacao(zpr));

    const qsizetype fim = zpr.size();
    QByteArray magica = bytes;
    magica[fim + 4] = 'X';
    QByteArray nomeGrande = bytes;
    nomeGrande[fim + 8 + 2] = '\x7F'; // the first name's length, past any path
    QByteArray figuraMaior = bytes;
    figuraMaior[INICIO_FIGURA_ZPR - 3] = '\x7F';
    QByteArray jogoRuim = bytes;
    jogoRuim[TAMANHO_MAGICA_ZPR] = '\x50'; // a tray slot that names no piece
    const QByteArray danos[] = {
        bytes.left(fim + 3), bytes.left(fim + 8 + 4 + 5), bytes.chopped(1), bytes + 'x',
        magica, nomeGrande, figuraMaior, jogoRuim, QByteArray(), QByteArray(2000, '\0'),
    };
    for (const QByteArray& d : danos)
        EXPECT_FALSE(DecodificarRecuperacao(d)) << d.size();
}

TEST(Recuperacao, ProcuraACopiaMaisNovaSemDonoEApagaAsDanificadas)
{
    QTemporaryDir pasta;
    const QString p = pasta.path();
    Partida jogo;
    NovoJogo(jogo);
    const QByteArray boa = CodificarRecuperacao(RecuperacaoDe(jogo));
    const auto copia = [&](const char* nome, const QByteArray& bytes, int idade) {
        const QString arquivo = p + QLatin1Char('/') + QLatin1String(nome);
        Escrever(arquivo, bytes);
        QFile f(arquivo);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-idade), QFileDevice::FileModificationTime);
        return arquivo;
    };
    const QString velha = copia("velha.zpr", boa, 300);
    const QString viva = copia("viva.zpr", boa, 10);       // its program is running
    const QString danificada = copia("ruim.zpr", "ZPR 2.0 lixo", 5);
    std::unique_ptr<QLockFile> travaViva = TravarCopia(viva);
    ASSERT_TRUE(travaViva);
    // A program killed once its copy was gone leaves a lock with nothing to guard; one
    // killed during a game leaves its lock beside its copy. Both owners are dead.
    QProcess morto;
    morto.start(QStringLiteral("true"), {});
    ASSERT_TRUE(morto.waitForStarted());
    const qint64 pidMorto = morto.processId();
    morto.waitForFinished();
    const QByteArray travaMorta = QByteArray::number(pidMorto) + "\ntrue\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    Escrever(p + QStringLiteral("/sumida.zpr.lock"), travaMorta);
    Escrever(velha + QStringLiteral(".lock"), travaMorta);

    {
        std::optional<CopiaDeixada> achada = ProcurarRecuperacao(p);
        ASSERT_TRUE(achada);
        EXPECT_EQ(achada->Arquivo(), velha);
        EXPECT_EQ(achada->Dados(), RecuperacaoDe(jogo));
        EXPECT_EQ(Arquivos(p), QStringList({QStringLiteral("velha.zpr"), QStringLiteral("velha.zpr.lock"),
                                            QStringLiteral("viva.zpr"), QStringLiteral("viva.zpr.lock")}))
            << "the damaged copy and the lone lock are gone";
        // While it is being offered, no other start offers it.
        EXPECT_FALSE(ProcurarRecuperacao(p));
    } // let go: it stays for a later start
    std::optional<CopiaDeixada> outraVez = ProcurarRecuperacao(p);
    ASSERT_TRUE(outraVez);
    outraVez->Apagar();
    EXPECT_EQ(Arquivos(p), QStringList({QStringLiteral("viva.zpr"), QStringLiteral("viva.zpr.lock")}));
    travaViva.reset(); // its program ended without deleting it
    ASSERT_TRUE(ProcurarRecuperacao(p));
    EXPECT_EQ(ProcurarRecuperacao(QStringLiteral("/nao/existe")).has_value(), false);
}

// A copy exists exactly while a game is in play, holds it but for at most 30 s of clock,
// and goes when the game ends the orderly way.
TEST(Salvaguarda, CopiaEnquantoHaJogoEmAndamento)
{
    QTemporaryDir pasta;
    const QString p = pasta.path() + QStringLiteral("/estado/zelpora");
    Partida jogo;
    Salvaguarda s(p);
    const auto verificar = [&](const char* quando, int32_t segundosDaCopia) {
        SCOPED_TRACE(quando);
        s.Esperar();
        const std::optional<Recuperacao> c = CopiaEm(s.Arquivo());
        ASSERT_TRUE(c);
        Recuperacao esperada = RecuperacaoDe(jogo);
        esperada.jogo.SegundosJogo = segundosDaCopia;
        EXPECT_EQ(*c, esperada);
    };
    const auto semCopia = [&](const char* quando) {
        s.Esperar();
        EXPECT_FALSE(QFile::exists(s.Arquivo())) << quando;
    };

    s.Atualizar(jogo);
    EXPECT_TRUE(s.Arquivo().isEmpty()) << "no game, no copy";
    NovoJogo(jogo, 1000);
    s.Atualizar(jogo);
    verificar("play started", 0);
    EXPECT_TRUE(QFile::exists(s.Arquivo() + QStringLiteral(".lock")));

    // The clock alone: nothing before 30 s, a copy at 30 s.
    jogo.Tique(1000 + 29'000);
    s.Tique(jogo);
    s.Atualizar(jogo);
    verificar("29 s", 0);
    jogo.Tique(1000 + 30'000);
    s.Tique(jogo);
    verificar("30 s", 30);

    // Anything else is copied when it happens.
    jogo.Tique(1000 + 35'000);
    Escolher(jogo);
    s.Atualizar(jogo);
    verificar("a starting piece", 35);
    jogo.Salvo(QStringLiteral("/jogos/meu.zpr"));
    s.Atualizar(jogo);
    verificar("saved under a name", 35);
    EXPECT_EQ(CopiaEm(s.Arquivo())->arquivoJogo, QStringLiteral("/jogos/meu.zpr"));
    jogo.DistribuirEmOrdem();
    s.Atualizar(jogo);
    verificar("a new deal", 35);
    jogo.Reiniciar();
    s.Atualizar(jogo);
    verificar("restarted", 0);

    // Completed: the copy goes; a new game brings one back in the same file.
    while (jogo.Jogo().PartesIniciais > 0)
        Escolher(jogo);
    while (jogo.EmJogo()) {
        int peca = -1;
        for (int slot = 0; slot < jogo.Jogo().PartesNaRolagem && peca < 0; ++slot)
            if (TemVizinhoEncaixado(jogo.Jogo(), jogo.Jogo().PartesRolagem[slot]))
                peca = jogo.Jogo().PartesRolagem[slot];
        ASSERT_TRUE(jogo.VerificarOK(int16_t(peca), LugarVerdadeiro(jogo.Jogo(), peca)));
        jogo.AtualizarRolagem();
    }
    s.Atualizar(jogo);
    semCopia("complete");
    const QString arquivo = s.Arquivo();
    NovoJogo(jogo);
    s.Atualizar(jogo);
    verificar("another game", 0);
    EXPECT_EQ(s.Arquivo(), arquivo);
    jogo.LimparTela();
    s.Atualizar(jogo);
    semCopia("screen cleared");

    // Left through the exit question: gone, and no copy after that.
    NovoJogo(jogo);
    s.Atualizar(jogo);
    s.Descartar();
    semCopia("orderly exit");
    Escolher(jogo);
    s.Atualizar(jogo);
    s.Tique(jogo);
    semCopia("after the exit");
}

TEST(Salvaguarda, FimDeForaGravaAUltimaCopiaEDuasJanelasNaoSeMisturam)
{
    QTemporaryDir pasta;
    Partida a, b;
    auto sa = std::make_unique<Salvaguarda>(pasta.path());
    Salvaguarda sb(pasta.path());
    NovoJogo(a, 1000);
    NovoJogo(b, 1000);
    Escolher(b);
    sa->Atualizar(a);
    sb.Atualizar(b);
    sa->Esperar();
    sb.Esperar();
    ASSERT_NE(sa->Arquivo(), sb.Arquivo());
    EXPECT_FALSE(ProcurarRecuperacao(pasta.path())) << "both programs are running";

    // Ended from outside 10 s later: the copy holds the clock of that moment and stays,
    // whatever the window does next.
    a.Tique(1000 + 10'000);
    sa->Finalizar(a);
    EXPECT_EQ(CopiaEm(sa->Arquivo())->jogo.SegundosJogo, 10);
    sa->Descartar();
    a.LimparTela();
    sa->Atualizar(a);
    const QString arquivoA = sa->Arquivo();
    sa.reset();
    std::optional<CopiaDeixada> achada = ProcurarRecuperacao(pasta.path());
    ASSERT_TRUE(achada);
    EXPECT_EQ(achada->Arquivo(), arquivoA);
    EXPECT_EQ(achada->Dados().jogo.SegundosJogo, 10);
    EXPECT_EQ(CopiaEm(sb.Arquivo())->jogo, RecuperacaoDe(b).jogo) << "the other program's copy is its own";
}
