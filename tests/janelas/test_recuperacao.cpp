// A game is never lost to a crash: the copy kept while it is played and the offer at the
// next start. A crash is the window destroyed without being closed, as a killed program
// leaves its files. (The random walk checks after every command that a copy exists
// exactly while a game is in play, and takes crashed games back with Sim or leaves them
// with Não.)
#include "ambiente_teste.h"

using namespace zelpo;
using namespace zelpo::teste;

const QString PERGUNTA = QStringLiteral("O Zelpora foi fechado com um jogo em andamento. Deseja continuar esse jogo?");

// Never saved, and its picture gone meanwhile: the copy carries the picture, and the game
// comes back with its board, its tray and the clock of the last copy.
TEST(RecuperacaoJanela, JogoNuncaSalvoVoltaComSim)
{
    JanelaDeTeste t(320, 256, 2);
    t.w().Iniciar({});
    t.Jogar(2);
    // The clock alone renews the copy every 30 s; the crash comes 10 s after one.
    t.Passar(40);
    t.Passar(10);
    const JogoSalvo antes = t.jogo();
    const QImage tabuleiro = t.Tabuleiro();
    t.Cair(); // the copy it leaves is what the start below offers
    const QString figura = t.pasta.path() + QStringLiteral("/Medio/figura.bmp");
    const QByteArray bytesDaFigura = Conteudo(figura);
    ASSERT_TRUE(QFile::remove(figura));

    t.Criar();
    t.w().Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_TRUE(t.mensagens[0].texto == PERGUNTA
                && t.mensagens[0].botoes == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    JogoSalvo esperado = antes;
    esperado.SegundosJogo = 40;
    esperado.BytesFigura = bytesDaFigura;
    esperado.ExtensaoFigura = QStringLiteral(".bmp");
    EXPECT_TRUE(t.jogo() == esperado);
    EXPECT_EQ(t.Tabuleiro(), tabuleiro);
    EXPECT_TRUE(t.Visivel(t.jogo().PartesRolagem[0])) << "the tray is laid out";
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:00:40"));
    EXPECT_EQ(t.w().windowTitle(), LegendaDoProduto());

    // Never saved: Salvar asks for a name and writes the picture it was cut from.
    const QString arquivo = t.pasta.path() + QStringLiteral("/recuperado.zpr");
    t.Comando("mnuJogoSalvar0", arquivo);
    EXPECT_EQ(Conteudo(arquivo).mid(1488, bytesDaFigura.size()), bytesDaFigura);
    EXPECT_EQ(t.mensagens.size(), 1u) << "no picture to look for";
}

// A start with a file to open asks nothing and leaves the copy for a start without one,
// which gives the game back under its file's name.
TEST(RecuperacaoJanela, JogoComArquivoEsperaUmInicioSemArquivo)
{
    JanelaDeTeste t;
    const QString arquivo = t.SalvarMeioJogo(1, 0);
    t.Jogar(1); // one piece more than the file holds
    const JogoSalvo antes = t.jogo();
    const QString copia = t.Copias().value(0);
    const QByteArray bytesDaCopia = Conteudo(copia);
    t.Cair();

    t.Criar();
    t.w().Iniciar(QLatin1Char('"') + arquivo + QLatin1Char('"')); // in quotes, as a desktop gives it
    EXPECT_TRUE(t.mensagens.empty());
    EXPECT_EQ(t.Copias().size(), 2) << "the opened game has a copy of its own";
    t.resposta = QMessageBox::No;
    ASSERT_TRUE(t.w().close());
    EXPECT_EQ(t.Copias(), QStringList{copia});

    // Esc (or the close box) starts a game as usual and asks again at the next start.
    t.Criar();
    t.resposta = QMessageBox::Cancel;
    t.w().Iniciar({});
    t.resposta = QMessageBox::No;
    ASSERT_TRUE(t.w().close());
    EXPECT_EQ(t.Copias(), QStringList{copia});
    EXPECT_EQ(Conteudo(copia), bytesDaCopia);

    t.Criar();
    t.resposta = QMessageBox::Yes;
    t.mensagens.clear();
    t.w().Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].texto, PERGUNTA);
    EXPECT_TRUE(t.jogo() == antes);
    EXPECT_EQ(t.w().windowTitle(), teste::Titulo(arquivo));
}

// A game taken back whose picture can no longer be read: while the player reads that, and
// the window's timers run, the copy stays on disk, until the game's own copy replaces it.
TEST(RecuperacaoJanela, FiguraIlegivelNaoLevaACopia)
{
    JanelaDeTeste t;
    Recuperacao r{figuras_de_teste::JogoValido(3, 3, false, 2), {}, {}};
    r.jogo.BytesFigura = "not a picture";
    r.jogo.ExtensaoFigura = QStringLiteral(".bmp");
    const QString deixada = t.pastaRecuperacao + QStringLiteral("/deixada.zpr");
    ASSERT_TRUE(QDir().mkpath(t.pastaRecuperacao) && teste::Gravar(deixada, CodificarRecuperacao(r)));
    bool ficou = false;
    DefinirRespondedor([&](const PedidoMensagem& m) {
        if (m.titulo == QStringLiteral("Figura inválida")) {
            QTest::qWait(50); // the message box's own event loop
            t.w().ConcluirCopia();
            ficou = QFile::exists(deixada);
        }
        return t.resposta;
    });
    t.w().Iniciar({});
    t.resposta = QMessageBox::No;
    EXPECT_TRUE(ficou);
    const QStringList copias = t.Copias();
    ASSERT_EQ(copias.size(), 1);
    EXPECT_NE(copias[0], deixada);
    EXPECT_TRUE(LerCopia(copias[0])->jogo.Partes == r.jogo.Partes);
}
