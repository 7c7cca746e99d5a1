// Saving and reopening games through the real main window.
#include "ambiente_teste.h"
#include "files/zpr.h"
#include "frmGerar.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

using namespace zelpo;
using zelpo::teste::Conteudo;
using zelpo::teste::JanelaDeTeste;
using zelpo::teste::RespostaDeArquivo;

namespace {

// Places the starting pieces and one more, as a player would leave a game half done.
void JogarUmPouco(JanelaDeTeste& t)
{
    while (t.jogo().PartesIniciais > 0)
        t.Clicar(t.jogo().PartesRolagem[0]);
    const int peca = t.PecaQueEncaixa();
    ASSERT_GE(peca, 0);
    t.Arrastar(peca, LugarVerdadeiro(t.jogo(), peca));
}

} // namespace

TEST(Salvar, SalvarFecharEAbrirVoltaOndeEstava)
{
    JanelaDeTeste t(320, 256, 2);
    t.w().Iniciar({});
    JogarUmPouco(t);
    ASSERT_EQ(t.jogo().PartesNaRolagem, 20 - 3);
    t.ticks += 600'000;
    t.Tique();

    const QString arquivo = t.pasta.path() + QStringLiteral("/partida.zpr");
    {
        RespostaDeArquivo resposta(arquivo);
        t.Comando("mnuJogoSalvar0");
    }
    const QByteArray figura = Conteudo(t.pasta.path() + QStringLiteral("/Medio/figura.bmp"));
    const QByteArray salvo = Conteudo(arquivo);
    ASSERT_EQ(salvo.size(), 1508 + figura.size());
    EXPECT_EQ(salvo.mid(1488, figura.size()), figura);
    EXPECT_EQ(t.w().windowTitle(), QStringLiteral("Zelpora 3.0 - [") + arquivo + QLatin1Char(']'));

    const QImage tabuleiro = t.Tela()->tela().copy(242, 20, 388, 414);
    const JogoSalvo antes = t.jogo();

    // Another start of the program, the saved game opened an hour later.
    t.Criar();
    t.ticks += 3'600'000;
    t.w().Iniciar(QLatin1Char('"') + arquivo + QLatin1Char('"'));
    EXPECT_TRUE(t.jogo() == antes);
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:10:00"));
    EXPECT_TRUE(t.Relogio()->isActive());
    EXPECT_EQ(t.Tela()->tela().copy(242, 20, 388, 414), tabuleiro);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, arquivo);
    EXPECT_TRUE(t.mensagens.empty());

    // Saved again under another name: the same bytes, and the game now goes by that name.
    const QString copia = t.pasta.path() + QStringLiteral("/copia.zpr");
    {
        RespostaDeArquivo resposta(copia);
        t.Comando("mnuJogoSalvar1");
    }
    EXPECT_EQ(Conteudo(copia), salvo);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, copia);

    // Under a picture's name, Salvar como... writes the picture and leaves the game's file.
    const QString comoFigura = t.pasta.path() + QStringLiteral("/saida.bmp");
    {
        RespostaDeArquivo resposta(comoFigura);
        t.Comando("mnuJogoSalvar1");
    }
    EXPECT_EQ(Conteudo(comoFigura), figura);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, copia);
}

TEST(Salvar, ArquivosRecusadosDizemPorQue)
{
    JanelaDeTeste t;
    t.w().Iniciar({});
    const QString pasta = t.pasta.path();
    const QString bom = pasta + QStringLiteral("/bom.zpr");
    {
        RespostaDeArquivo resposta(bom);
        t.Comando("mnuJogoSalvar0");
    }
    const QByteArray bytes = Conteudo(bom);
    QByteArray magicaMinuscula = bytes;
    magicaMinuscula.replace(0, 3, "zpr");
    const auto gravar = [&](const QString& nome, const QByteArray& conteudo) {
        QFile f(pasta + nome);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(conteudo) == conteudo.size());
        return f.fileName();
    };
    QDir(pasta).mkdir(QStringLiteral("pasta.zpr"));
    mkfifo(QFile::encodeName(pasta + QStringLiteral("/fila.zpr")).constData(), 0600);
    QFile::link(QStringLiteral("/dev/zero"), pasta + QStringLiteral("/zero.zpr"));
    const struct { QString caminho; const char* fim; } casos[] = {
        {gravar(QStringLiteral("/curto.zpr"), bytes.left(700)), "termina antes do campo \"peças\"."},
        {gravar(QStringLiteral("/minusculo.zpr"), magicaMinuscula), "Versão incorreta do zelpora!"},
        {pasta + QStringLiteral("/nao-existe.zpr"), "Versão incorreta do zelpora!"},
        {pasta + QStringLiteral("/pasta.zpr"), "é uma pasta, não um arquivo."},
        {pasta + QStringLiteral("/fila.zpr"), "não é um arquivo comum (é um dispositivo, uma fila ou um soquete)."},
        {pasta + QStringLiteral("/zero.zpr"), "não é um arquivo comum (é um dispositivo, uma fila ou um soquete)."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caminho.toStdString());
        t.mensagens.clear();
        {
            RespostaDeArquivo resposta(c.caminho);
            t.Comando("mnuJogoAbrir");
        }
        ASSERT_EQ(t.mensagens.size(), 1u);
        EXPECT_TRUE(t.mensagens[0].texto.startsWith(c.caminho + QStringLiteral("\n\n")));
        EXPECT_TRUE(t.mensagens[0].texto.endsWith(QString::fromUtf8(c.fim))) << t.mensagens[0].texto.toStdString();
        EXPECT_EQ(t.w().partida().Estado(), EstadoJogo::SemJogo);
        EXPECT_EQ(t.w().windowTitle(), QStringLiteral("Zelpora 3.0 - [") + c.caminho + QLatin1Char(']'));
    }
}

TEST(Salvar, ArquivoSoltoNaJanelaAbreComoAbrir)
{
    JanelaDeTeste t;
    t.w().Iniciar({});
    const QString arquivo = t.pasta.path() + QStringLiteral("/solto.ZPR");
    {
        RespostaDeArquivo resposta(arquivo);
        t.Comando("mnuJogoSalvar0");
    }
    const JogoSalvo salvo = t.jogo();
    frmGerar::DefinirExibicao([](frmGerar& d) { d.btnOk_Click(); });
    t.Comando("mnuJogoNovo"); // another random game in between
    frmGerar::DefinirExibicao({});
    const auto soltar = [&](QMimeData* dados) {
        QDragEnterEvent entrada(QPoint(300, 200), Qt::CopyAction, dados, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&t.w(), &entrada);
        QDropEvent soltura(QPointF(300, 200), Qt::CopyAction, dados, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&t.w(), &soltura);
        QCoreApplication::processEvents();
        delete dados;
        return entrada.isAccepted();
    };
    // Text, two files or a file of another kind are not taken.
    auto* texto = new QMimeData;
    texto->setText(arquivo);
    auto* dois = new QMimeData;
    dois->setUrls({QUrl::fromLocalFile(arquivo), QUrl::fromLocalFile(arquivo)});
    auto* outro = new QMimeData;
    outro->setUrls({QUrl::fromLocalFile(t.ArquivoConfiguracao())});
    for (QMimeData* d : {texto, dois, outro})
        EXPECT_FALSE(soltar(d));
    EXPECT_FALSE(t.jogo() == salvo);
    auto* jogo = new QMimeData;
    jogo->setUrls({QUrl::fromLocalFile(arquivo)});
    EXPECT_TRUE(soltar(jogo));
    EXPECT_TRUE(t.jogo() == salvo);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, arquivo);
}
