// A game is never lost to a crash: the copy kept while it is played and the offer at the
// next start. A crash is the window destroyed without being closed, as a killed program
// leaves its files. (The random walk checks after every command that a copy exists
// exactly while a game is in play.)
#include "ambiente_teste.h"
#include "files/zpr.h"

#include <gtest/gtest.h>

using namespace zelpo;
using zelpo::teste::Conteudo;
using zelpo::teste::JanelaDeTeste;
using zelpo::teste::RespostaDeArquivo;

namespace {

const QString PERGUNTA = QStringLiteral("O Zelpora foi fechado com um jogo em andamento. Deseja continuar esse jogo?");

void Cair(JanelaDeTeste& t)
{
    t.w().ConcluirCopia();
    t.janela.reset();
}

QImage Tabuleiro(JanelaDeTeste& t)
{
    return t.Tela()->tela().copy(242, 20, 388, 414);
}

void Escrever(const QString& arquivo, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

} // namespace

TEST(RecuperacaoJanela, JogoNuncaSalvoVoltaComSim)
{
    JanelaDeTeste t(320, 256, 2);
    t.w().Iniciar({});
    VerificarCopia(t);
    t.Jogar(2);
    VerificarCopia(t);
    // The clock alone renews the copy every 30 s; the crash comes 10 s after one.
    t.ticks += 40'000;
    t.Tique();
    t.ticks += 10'000;
    t.Tique();
    VerificarCopia(t);
    const JogoSalvo antes = t.jogo();
    const QImage tabuleiro = Tabuleiro(t);
    const QString copia = t.Copias().value(0);
    Cair(t);
    ASSERT_TRUE(QFile::exists(copia));
    // the picture the game was cut from goes away meanwhile: the copy carries it
    const QString figura = t.pasta.path() + QStringLiteral("/Medio/figura.bmp");
    const QByteArray bytesDaFigura = Conteudo(figura);
    ASSERT_TRUE(QFile::remove(figura));

    t.Criar();
    t.w().Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 1u);
    EXPECT_EQ(t.mensagens[0].texto, PERGUNTA);
    EXPECT_EQ(t.mensagens[0].titulo, QStringLiteral("Zelpora 3.0"));
    EXPECT_EQ(t.mensagens[0].icone, QMessageBox::Question);
    EXPECT_EQ(t.mensagens[0].botoes, QMessageBox::Yes | QMessageBox::No);
    JogoSalvo esperado = antes;
    esperado.SegundosJogo = 40;
    esperado.BytesFigura = bytesDaFigura;
    esperado.ExtensaoFigura = QStringLiteral(".bmp");
    EXPECT_TRUE(t.jogo() == esperado);
    EXPECT_EQ(Tabuleiro(t), tabuleiro);
    EXPECT_TRUE(t.Peca(t.jogo().PartesRolagem[0])->isVisible()) << "the tray is laid out";
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:00:40"));
    EXPECT_TRUE(t.Relogio()->isActive());
    EXPECT_EQ(t.w().windowTitle(), frmZelpo::LegendaDoProduto());
    EXPECT_FALSE(QFile::exists(copia)) << "taken back: the program keeps a copy of its own";
    VerificarCopia(t);

    // Never saved: Salvar asks for a name and writes the picture it was cut from.
    const QString arquivo = t.pasta.path() + QStringLiteral("/recuperado.zpr");
    {
        RespostaDeArquivo resposta(arquivo);
        t.Comando("mnuJogoSalvar0");
    }
    const ResultadoZPR salvo = LerArquivoZPR(arquivo);
    ASSERT_TRUE(salvo.jogo);
    EXPECT_EQ(salvo.jogo->BytesFigura, bytesDaFigura);
    EXPECT_TRUE(t.mensagens.size() == 1u) << "no picture to look for";
}

TEST(RecuperacaoJanela, JogoComArquivoVoltaComONomeESalvaNele)
{
    JanelaDeTeste t;
    t.w().Iniciar({});
    t.Jogar(1);
    const QString arquivo = t.pasta.path() + QStringLiteral("/partida.zpr");
    {
        RespostaDeArquivo resposta(arquivo);
        t.Comando("mnuJogoSalvar0");
    }
    t.Jogar(1); // one piece more than the file holds
    VerificarCopia(t);
    const JogoSalvo antes = t.jogo();
    const QString copia = t.Copias().value(0);
    const QByteArray bytesDaCopia = Conteudo(copia);
    Cair(t);

    // With a file to open, nothing is asked and the copy waits for a start without one.
    t.Criar();
    t.w().Iniciar(arquivo);
    EXPECT_TRUE(t.mensagens.empty());
    EXPECT_EQ(t.Copias().size(), 2) << "the opened game has a copy of its own";
    EXPECT_EQ(Conteudo(copia), bytesDaCopia);
    t.resposta = QMessageBox::No;
    ASSERT_TRUE(t.w().close());
    EXPECT_EQ(t.Copias(), QStringList{copia});

    t.Criar();
    t.resposta = QMessageBox::Yes;
    t.w().Iniciar({});
    ASSERT_EQ(t.mensagens.size(), 2u);
    EXPECT_EQ(t.mensagens[1].texto, PERGUNTA);
    EXPECT_TRUE(t.jogo() == antes);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, arquivo);
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral("Zelpora 3.0 - [") + arquivo + QLatin1Char(']'));
    {
        RespostaDeArquivo ninguem{QString()}; // Salvar must not ask
        t.Comando("mnuJogoSalvar0");
    }
    const ResultadoZPR salvo = LerArquivoZPR(arquivo);
    ASSERT_TRUE(salvo.jogo);
    EXPECT_TRUE(*salvo.jogo == t.jogo());
}

TEST(RecuperacaoJanela, NaoOuCopiaDanificadaComecamUmJogoNovo)
{
    for (const bool danificada : {false, true}) {
        SCOPED_TRACE(danificada ? "damaged" : "answered No");
        JanelaDeTeste t;
        QString copia = t.pastaRecuperacao + QStringLiteral("/andamento-antigo.zpr");
        if (danificada) {
            Escrever(copia, QByteArray("ZPR 2.0 ") + QByteArray(3000, '\x01'));
        } else {
            t.w().Iniciar({});
            t.Jogar(1);
            copia = t.Copias().value(0);
            Cair(t);
        }
        t.Criar();
        t.resposta = QMessageBox::No;
        t.w().Iniciar({});
        EXPECT_EQ(t.mensagens.size(), danificada ? 0u : 1u);
        EXPECT_FALSE(QFile::exists(copia));
        EXPECT_EQ(t.w().partida().Estado(), EstadoJogo::EscolhendoPecas) << "a random game, as usual";
        EXPECT_EQ(t.jogo().PartesNaRolagem, t.jogo().Pecas());
        VerificarCopia(t);
    }
}
