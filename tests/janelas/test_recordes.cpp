// Best times through the window: the message line when a puzzle is completed, until the
// next game, and the Recordes window.
#include "ambiente_teste.h"
#include "files/recordes.h"
#include "frmRecordes.h"

#include <QPainter>

using namespace zelpo;
using namespace zelpo::teste;

namespace {

const QRect LINHA_MENSAGEM(QPoint(242, 4), QPoint(545, 18));

// The message line as the window must draw `texto`.
QImage LinhaCom(JanelaDeTeste& t, const QString& texto)
{
    QImage linha(LINHA_MENSAGEM.size(), t.Tela()->Tela().format());
    linha.fill(t.w().palette().color(QPalette::Window));
    QPainter p(&linha);
    p.setFont(FonteJanela());
    p.setPen(Qt::black);
    p.drawText(QPoint(0, p.fontMetrics().ascent()), texto);
    return linha;
}

QImage Linha(JanelaDeTeste& t) { return t.Tela()->Tela().copy(LINHA_MENSAGEM); }

// Completes the puzzle with the clock at `segundos`.
void Completar(JanelaDeTeste& t, int segundos)
{
    t.Jogar(1);
    t.Passar(segundos - t.jogo().SegundosJogo);
    t.Jogar(-1);
    ASSERT_EQ(t.w().partida().Estado(), EstadoJogo::Completo);
    ASSERT_EQ(t.jogo().SegundosJogo, segundos);
}

} // namespace

TEST(RecordesJanela, LinhaDeMensagemAteOProximoJogoEJanelaDeRecordes)
{
    JanelaDeTeste t; // 3 x 3 normal pieces, easy
    t.w().Iniciar({});
    Completar(t, 82);
    EXPECT_EQ(Linha(t), LinhaCom(t, QStringLiteral("Novo recorde: 00:01:22")));
    const QString chave = ChaveDoQuebraCabeca(Conteudo(t.pasta.path() + QStringLiteral("/Facil/figura.bmp")), 3, 3,
                                              false, 1);
    EXPECT_EQ(LerRecordes(t.ArquivoRecordes()).Melhores(chave).size(), 1u);

    // The same puzzle again, slower: the second best.
    t.resposta = QMessageBox::Yes;
    t.Comando("mnuJogoReiniciar");
    EXPECT_EQ(Linha(t), LinhaCom(t, zelpo::TextoPartesIniciais(1, 3)));
    Completar(t, 95);
    EXPECT_EQ(Linha(t), LinhaCom(t, QStringLiteral("Seu 2º melhor tempo: 00:01:35")));

    t.Comando("mnuAjudaRecordes");
    auto* janela = t.w().findChild<frmRecordes*>();
    ASSERT_NE(janela, nullptr);
    ASSERT_EQ(janela->LinhasMelhores().size(), 2);
    EXPECT_TRUE(janela->LinhasMelhores()[0].startsWith(QStringLiteral("1º\t00:01:22\t")));
    EXPECT_TRUE(janela->LinhasMelhores()[1].startsWith(QStringLiteral("2º\t00:01:35\t")));
    ASSERT_EQ(janela->LinhasRecentes().size(), 2);
    EXPECT_TRUE(janela->LinhasRecentes()[0].startsWith(QStringLiteral("00:01:35\t")));
    EXPECT_TRUE(janela->LinhasRecentes()[0].endsWith(QStringLiteral("\tfigura.bmp - Fácil - 9 peças - 3 x 3")));
    QTest::keyClick(janela, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(t.w().findChild<frmRecordes*>(), nullptr);

    // The next game clears the line. (A damaged table starts empty without a word: the
    // table's own test, in tests/core/test_recordes.cpp.)
    t.Novo();
    EXPECT_EQ(Linha(t), LinhaCom(t, zelpo::TextoPartesIniciais(1, 3)));
    EXPECT_EQ(t.mensagens.size(), 1u) << "only the restart question";
}
