// The copy of the game in play: its file, the copies a new start may find, and when the
// copy is written and deleted, driven through a Partida without a window.
#include "figuras_de_teste.h"
#include "files/recuperacao.h"
#include "files/zpr.h"
#include "records/aleatorio.h"
#include "game/partida.h"
#include "game/salvaguarda.h"
#include "play/encaixe.h"
#include "play/novojogo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

using namespace zelpo;
using figuras_de_teste::Conteudo;

namespace {

const QByteArray FIGURA = QByteArray("BM\x01\x80\xFF\x00\x7F", 7).repeated(40);

// A new 3 x 2 game in play with two starting pieces, never saved, cut from a picture read.
void NovoJogo(Partida& p)
{
    JogoSalvo j;
    j.Colunas = 3;
    j.Linhas = 2;
    j.TopoTabuleiro = 40;
    j.EsquerdaTabuleiro = 250;
    j.PartesIniciais = PartesIniciaisPara(j.Dificuldade);
    j.BytesFigura = FIGURA;
    j.ExtensaoFigura = QStringLiteral(".bmp");
    Aleatorio rnd(11);
    FormarEstado(j, rnd);
    p.Comecar(QStringLiteral("/figuras/praia/figura.bmp"), j, 1000);
}

// A starting piece while there are some, else a piece fitted next to a placed one.
void Colocar(Partida& p)
{
    const JogoSalvo& j = p.Jogo();
    int16_t peca = j.PartesRolagem[0];
    for (int s = 0; j.PartesIniciais == 0 && !figuras_de_teste::TemVizinhaColocada(j, peca); ++s)
        peca = j.PartesRolagem[s + 1];
    const Jogada jogada = j.PartesIniciais > 0 ? p.Pegar(peca) : p.Soltar(peca, figuras_de_teste::LugarNaGrade(j, peca));
    ASSERT_TRUE(jogada == Jogada::Encaixada || jogada == Jogada::Completa);
}

void Escrever(const QString& arquivo, const QByteArray& bytes, int idade = 0)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-idade), QFileDevice::FileModificationTime);
}

} // namespace

TEST(Recuperacao, ArquivoEOJogoSalvoMaisONomeEDanosRecusados)
{
    Partida p;
    NovoJogo(p);
    Recuperacao r = RecuperacaoDe(p);
    r.arquivoJogo = QStringLiteral("/home/ana/Área de trabalho/quebra-cabeça.zpr");
    const QByteArray bytes = CodificarRecuperacao(r);
    // The game as a saved game holds it, byte for byte, with the picture that was read;
    // the saved-game reader refuses the whole, and a saved game is not a copy.
    const QByteArray zpr = CodificarZPR(r.jogo);
    ASSERT_EQ(bytes.left(zpr.size()), zpr);
    EXPECT_EQ(r.jogo.BytesFigura, FIGURA);
    EXPECT_EQ(r.jogo.ExtensaoFigura, QStringLiteral(".bmp"));
    ASSERT_EQ(DecodificarRecuperacao(bytes), r);
    EXPECT_FALSE(DecodificarZPR(bytes).jogo);
    EXPECT_FALSE(DecodificarRecuperacao(zpr));

    const auto trocado = [&](qsizetype pos, char c) { QByteArray b = bytes; b[pos] = c; return b; };
    const qsizetype fim = zpr.size();
    const QByteArray danos[] = {
        bytes.left(fim + 3), bytes.left(fim + 8 + 4 + 5), bytes.chopped(1), bytes + 'x',
        trocado(fim + 4, 'X'),                  // the magic
        trocado(fim + 8 + 2, '\x7F'),           // a name longer than any path
        trocado(INICIO_FIGURA_ZPR - 3, '\x7F'), // a picture past the end
        trocado(TAMANHO_MAGICA_ZPR, '\x50'),    // a tray slot that names no piece
        QByteArray(2000, '\0'),
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
    const QString velha = p + QStringLiteral("/velha.zpr"), viva = p + QStringLiteral("/viva.zpr");
    Escrever(velha, boa, 300);
    Escrever(viva, boa, 10); // its program is running
    Escrever(p + QStringLiteral("/ruim.zpr"), "ZPR 2.0 lixo", 5);
    std::unique_ptr<QLockFile> travaViva = TravarCopia(viva);
    ASSERT_TRUE(travaViva);
    // Locks of dead programs: one beside its copy, one whose copy is gone.
    QProcess morto;
    morto.start(QStringLiteral("true"), {});
    ASSERT_TRUE(morto.waitForStarted());
    const QByteArray travaMorta =
        QByteArray::number(morto.processId()) + "\ntrue\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    morto.waitForFinished();
    Escrever(velha + QStringLiteral(".lock"), travaMorta);
    Escrever(p + QStringLiteral("/sumida.zpr.lock"), travaMorta);

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
    travaViva.reset(); // its program ended without deleting it
    EXPECT_TRUE(ProcurarRecuperacao(p));
}

// A copy exists exactly while a game is in play, holds it but for at most 30 s of clock,
// goes when the game ends the orderly way, and is final when the program is ended. (The
// random walk checks the copy against the game after every command of the window: saves,
// new games, refused opens.)
TEST(Salvaguarda, CopiaEnquantoHaJogoEmAndamento)
{
    QTemporaryDir pasta;
    Partida jogo;
    Salvaguarda s(pasta.path() + QStringLiteral("/estado/zelpora"));
    // The copy on disk: the game with its clock at `segundos`, or none (-1).
    const auto copia = [&](int32_t segundos) {
        s.Esperar();
        const std::optional<Recuperacao> c = DecodificarRecuperacao(Conteudo(s.Arquivo()));
        if (segundos < 0)
            return !c.has_value();
        Recuperacao esperada = RecuperacaoDe(jogo);
        esperada.jogo.SegundosJogo = segundos;
        return c == esperada;
    };
    NovoJogo(jogo);
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(0)) << "play started";
    jogo.Tique(1000 + 29'000);
    s.Tique(jogo);
    EXPECT_TRUE(copia(0)) << "29 s of clock alone";
    jogo.Tique(1000 + 30'000);
    s.Tique(jogo);
    EXPECT_TRUE(copia(30));
    jogo.Tique(1000 + 35'000);
    Colocar(jogo);
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(35)) << "a piece";
    while (jogo.EmJogo())
        Colocar(jogo);
    s.Atualizar(jogo);
    EXPECT_TRUE(copia(-1)) << "complete";

    // Ended from outside 10 s into a game: the copy has that moment, whatever comes next.
    NovoJogo(jogo);
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
    NovoJogo(jogo);
    saindo.Atualizar(jogo);
    saindo.Descartar();
    Colocar(jogo);
    saindo.Atualizar(jogo);
    saindo.Esperar();
    EXPECT_FALSE(QFile::exists(saindo.Arquivo()));
}
