// Saving and reopening games through the real main window, and files dropped on it. (The
// random walk in test_modelo.cpp saves under every kind of name, opens good, damaged and
// missing files and checks each file against the game; the picture's own bytes in a saved
// game are checked after a crash in test_recuperacao.cpp. Here what neither sees: the
// clock and the board at a later start of the program from its command line, and the drop.)
#include "ambiente_teste.h"

#include <QMimeData>
#include <QUrl>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

TEST(Salvar, SalvarFecharEAbrirVoltaOndeEstava)
{
    JanelaDeTeste t(320, 256, 2);
    const QString arquivo = t.SalvarMeioJogo(1, 600);
    const QImage tabuleiro = t.Tabuleiro();
    const JogoSalvo antes = t.jogo();

    // Another start of the program, the saved game opened from the command line an hour later.
    t.Criar();
    t.ticks += 3'600'000;
    t.w().Iniciar(QLatin1Char('"') + arquivo + QLatin1Char('"'));
    EXPECT_TRUE(t.jogo() == antes);
    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:10:00"));
    EXPECT_EQ(t.Tabuleiro(), tabuleiro);
    EXPECT_TRUE(t.mensagens.empty());
}

// One local file that Abrir would take is opened as Abrir opens it; text, two files or a
// file of another kind are not taken.
TEST(Salvar, ArquivoSoltoNaJanelaAbreComoAbrir)
{
    JanelaDeTeste t;
    t.w().Iniciar({});
    const QString arquivo = t.pasta.path() + QStringLiteral("/solto.ZPR");
    t.Comando("mnuJogoSalvar0", arquivo);
    const JogoSalvo salvo = t.jogo();
    t.Novo(); // another random game in between
    const auto soltar = [&](QMimeData& dados) {
        QDragEnterEvent entrada(QPoint(300, 200), Qt::CopyAction, &dados, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&t.w(), &entrada);
        QDropEvent soltura(QPointF(300, 200), Qt::CopyAction, &dados, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&t.w(), &soltura);
        QCoreApplication::processEvents();
        return entrada.isAccepted();
    };
    QMimeData texto, dois, outro, jogo;
    texto.setText(arquivo);
    dois.setUrls({QUrl::fromLocalFile(arquivo), QUrl::fromLocalFile(arquivo)});
    outro.setUrls({QUrl::fromLocalFile(t.ArquivoConfiguracao())});
    jogo.setUrls({QUrl::fromLocalFile(arquivo)});
    for (QMimeData* d : {&texto, &dois, &outro})
        EXPECT_FALSE(soltar(*d));
    EXPECT_FALSE(t.jogo() == salvo);
    EXPECT_TRUE(soltar(jogo));
    EXPECT_TRUE(t.jogo() == salvo);
    EXPECT_EQ(t.w().partida().SessaoAtual().ArquivoJogo, arquivo);
}
