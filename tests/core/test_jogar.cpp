// The play arithmetic the window draws with: the tray's layout and keys, the clock's text
// and start, the prompts and the caption. (The tray's order after each piece placed, the
// fit rule and the starting pieces are checked against a model in test_partida.cpp.)
#include "play/textos.h"
#include "play/relogio.h"
#include "play/rolagem.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

using namespace zelpo;

TEST(Rolagem, NovePecasNormaisRolamUmaLinha)
{
    const auto slotsDe = [](const std::vector<LugarNaRolagem>& lugares) {
        std::vector<int> s;
        for (const auto& l : lugares)
            s.push_back(l.slot);
        return s;
    };
    const Geometria g = GeometriaPara(false);
    ListaRolagem l = ListaVazia();
    std::iota(l.begin(), l.begin() + 9, int16_t(0)); // pieces 0 to 8
    EXPECT_FALSE(CabeNaVista(9, g));
    EXPECT_EQ(MaximoRolagem(9, g), 1);
    EXPECT_EQ(slotsDe(LayoutRolagem(l, 9, 0, g)), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    const auto lugares = LayoutRolagem(l, 9, 1, g);
    EXPECT_EQ(slotsDe(lugares), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(lugares[0].topoEsquerdo == QPoint(12, 11) && lugares[1].topoEsquerdo == QPoint(12 + 88, 11));
    EXPECT_EQ(lugares.back().topoEsquerdo, QPoint(12, 11 + 3 * 99));
    EXPECT_TRUE(CabeNaVista(8, g));
    const Geometria p = GeometriaPara(true);
    EXPECT_TRUE(CabeNaVista(15, p));
    EXPECT_EQ(MaximoRolagem(81, p), 22);
}

TEST(Rolagem, TeclasComLimites)
{
    // (key, value before, value after) between 0 and 6, four rows to the page
    const std::tuple<int, int, int> casos[] = {{Qt::Key_Up, 0, 0}, {Qt::Key_Left, 3, 2}, {Qt::Key_Right, 6, 6},
        {Qt::Key_PageDown, 1, 5}, {Qt::Key_PageDown, 2, 6}, {Qt::Key_PageUp, 3, 0}, {Qt::Key_Home, 4, 0}, {Qt::Key_End, 1, 6}};
    for (const auto& [tecla, valor, esperado] : casos) {
        const auto r = TeclaRolagem(tecla, valor, 0, 6, 4);
        EXPECT_TRUE(r.tratada && r.valor == esperado) << tecla << " from " << valor << ": " << r.valor;
    }
    EXPECT_FALSE(TeclaRolagem(Qt::Key_F, 1, 0, 6, 4).tratada);
}

TEST(Relogio, TextoEArredondamento)
{
    const std::pair<int, const char*> casos[] = {{59, "00:00:59"}, {3725, "01:02:05"}, {360000, "100:00:00"}};
    for (auto [s, texto] : casos)
        EXPECT_EQ(SegundosParaHora(s), QLatin1String(texto));
    // The clock's start in whole seconds, halves to the even one; a tick count past 2^31 reads negative.
    for (auto [ticks, segundos, inicio] : {std::tuple{10500, 0, 10}, {11500, 0, 12}, {11500, 600, -588}, {-1500, 0, -2}})
        EXPECT_EQ(InicioDoRelogio(ticks, segundos), inicio) << ticks;
    EXPECT_EQ(SegundosDesde(InicioDoRelogio(5000, 600) * 1000 + 4000, InicioDoRelogio(5000, 600)), 4);
}

TEST(Textos, MensagensDasPecasIniciais)
{
    // "Selecione ... peça(s) para iniciar o jogo!", by the difficulty and the pieces still to choose
    const std::tuple<int, int, const char*> casos[] = {{1, 3, "três peças"}, {1, 2, "a penúltima peça"},
        {2, 2, "duas peças"}, {2, 1, "a última peça"}, {7, 5, "uma peça"}, {2, 3, nullptr}, {3, 0, nullptr}};
    for (const auto& [dificuldade, iniciais, pecas] : casos)
        EXPECT_EQ(TextoPartesIniciais(dificuldade, iniciais),
                  pecas ? QStringLiteral("Selecione %1 para iniciar o jogo!").arg(QString::fromUtf8(pecas)) : QString())
            << dificuldade << "/" << iniciais;
    EXPECT_EQ(LegendaArea(2, 6, 5), QStringLiteral("Médio - 30 peças - 6 x 5"));
    EXPECT_EQ(LegendaArea(9, 2, 2), QStringLiteral(" - 4 peças - 2 x 2"));
    JogoSalvo j;
    std::tie(j.EsquerdaTabuleiro, j.TopoTabuleiro, j.Colunas, j.Linhas) = std::tuple(219, 57, 6, 5);
    EXPECT_EQ(RetanguloAreaDeJogo(j), QRect(QPoint(242, 80), QPoint(627, 401)));
}
