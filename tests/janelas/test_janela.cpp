// The main window as the player first sees it, checked pixel by pixel on its surface.
#include "ambiente_teste.h"
#include "CoresSistema.h"
#include "Superficie.h"
#include "game/textos.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace zelpo;
using zelpo::teste::JanelaDeTeste;

namespace {
QColor Em(const QImage& i, int x, int y)
{
    return i.pixelColor(x, y);
}
} // namespace

TEST(Janela, MolduraDaBandejaRegraEAreaInicial)
{
    JanelaDeTeste t;
    frmZelpo& w = t.w();
    QDir(t.pasta.path() + QStringLiteral("/Facil")).removeRecursively(); // stay on the empty board
    w.Iniciar({});
    const QImage tela = t.Tela()->tela();
    const QColor area = Cor(CorSistema::AreaDeTrabalho), sombra = Cor(CorSistema::SombraBotao),
                 realce = Cor(CorSistema::Realce3D), luz = Cor(CorSistema::Luz3D),
                 escura = Cor(CorSistema::SombraEscura3D), fundo = w.palette().color(QPalette::Window);
    // The well left of the scroll bar (216): 8..215 by 4..429.
    EXPECT_EQ(Em(tela, 8, 100), sombra);
    EXPECT_EQ(Em(tela, 100, 4), sombra);
    EXPECT_EQ(Em(tela, 9, 100), escura);
    EXPECT_EQ(Em(tela, 100, 5), escura);
    EXPECT_EQ(Em(tela, 215, 100), realce);
    EXPECT_EQ(Em(tela, 100, 429), realce);
    EXPECT_EQ(Em(tela, 214, 100), luz);
    EXPECT_EQ(Em(tela, 100, 428), luz);
    EXPECT_EQ(Em(tela, 8, 429), realce); // the bottom-left corner belongs to the light outline
    EXPECT_EQ(Em(tela, 100, 200), area);
    EXPECT_EQ(Em(tela, 7, 100), fundo);
    EXPECT_EQ(Em(tela, 216, 100), fundo);
    // The rule under the message line and the mark beside the clock.
    EXPECT_EQ(Em(tela, 242, 19), sombra);
    EXPECT_EQ(Em(tela, 629, 19), sombra);
    EXPECT_EQ(Em(tela, 630, 19), fundo);
    EXPECT_EQ(Em(tela, 556, 12), sombra);
    EXPECT_EQ(Em(tela, 570, 11), sombra);
    EXPECT_EQ(Em(tela, 578, 11), sombra);
    EXPECT_EQ(Em(tela, 576, 11), fundo);
    // The empty board (242, 32)-(628, 418): highlight top and left, shadow bottom and right.
    EXPECT_EQ(Em(tela, 242, 100), realce);
    EXPECT_EQ(Em(tela, 300, 32), realce);
    EXPECT_EQ(Em(tela, 628, 100), sombra);
    EXPECT_EQ(Em(tela, 300, 418), sombra);
    EXPECT_EQ(Em(tela, 242, 418), sombra);
    EXPECT_EQ(Em(tela, 243, 33), area);
    EXPECT_EQ(Em(tela, 627, 417), area);
    EXPECT_EQ(Em(tela, 300, 425), fundo); // no caption without a game

    EXPECT_EQ(t.Hora()->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(t.Hora()->geometry(), QRect(581, 4, 56, 14));
    EXPECT_EQ(t.Rolagem()->geometry(), QRect(216, 4, 17, 425));
    EXPECT_FALSE(t.Rolagem()->isEnabled());
    EXPECT_EQ(t.Tela()->size(), QSize(632, 434));
    EXPECT_FALSE(t.Acao("mnuJogoSalvar0")->isEnabled());
    EXPECT_FALSE(t.Acao("mnuJogoReiniciar")->isEnabled());
    EXPECT_TRUE(t.Acao("mnuJogoNovo")->isEnabled());
}

TEST(Janela, AreaDeJogoELegendaCentrada)
{
    JanelaDeTeste t(384, 320, 2); // 6 x 5 normal pieces
    frmZelpo& w = t.w();
    w.Iniciar({});
    ASSERT_EQ(t.jogo().Colunas, 6);
    ASSERT_EQ(t.jogo().Linhas, 5);
    EXPECT_EQ(t.jogo().EsquerdaTabuleiro, 219);
    EXPECT_EQ(t.jogo().TopoTabuleiro, 34);
    const QImage tela = t.Tela()->tela();
    EXPECT_EQ(Em(tela, 242, 100), Cor(CorSistema::Realce3D));
    EXPECT_EQ(Em(tela, 627, 100), Cor(CorSistema::SombraBotao));
    EXPECT_EQ(Em(tela, 300, 57), Cor(CorSistema::Realce3D));
    EXPECT_EQ(Em(tela, 300, 378), Cor(CorSistema::SombraBotao));
    // The caption "Médio - 30 peças - 6 x 5" from y = 385, centred on 242..627.
    int esquerda = 632, direita = -1, topo = 434;
    for (int y = 379; y < 434; ++y)
        for (int x = 242; x <= 630; ++x)
            if (Em(tela, x, y).lightness() < 60) {
                esquerda = std::min(esquerda, x);
                direita = std::max(direita, x);
                topo = std::min(topo, y);
            }
    ASSERT_GE(direita, 0);
    EXPECT_GE(topo, 385);
    EXPECT_LE(std::abs((esquerda + direita) / 2 - (242 + 627) / 2), 3);
    // The prompt is written on the message line, and every prompt fits before the clock mark.
    int escuros = 0;
    for (int y = 4; y <= 18; ++y)
        for (int x = 242; x <= 545; ++x)
            escuros += Em(tela, x, y).lightness() < 60;
    EXPECT_GT(escuros, 50);
    const QFontMetrics medidas(frmZelpo::FonteJanela());
    for (int dificuldade = 1; dificuldade <= 3; ++dificuldade)
        for (int iniciais = 1; iniciais <= 3; ++iniciais)
            EXPECT_LE(medidas.horizontalAdvance(zelpo::TextoPartesIniciais(dificuldade, iniciais)), 545 - 242);
}
