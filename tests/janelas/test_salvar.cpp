// Files dropped on the main window. (The random walk in test_modelo.cpp saves under every
// kind of name, opens good, damaged and missing files and checks each file against the
// game; a saved game given on the command line is opened in test_recuperacao.cpp and
// test_processo.cpp, and the board and the clock of a game taken back are checked there.)
#include "ambiente_teste.h"

#include <QMimeData>
#include <QUrl>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

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
