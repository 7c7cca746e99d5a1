#include "game/aleatorio.h"
#include "game/jogo.h"

#include <gtest/gtest.h>

using namespace zelpo;

TEST(Arredondamento, MetadesVaoParaOPar)
{
    const std::pair<double, int64_t> casos[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {9.5, 10}};
    for (auto [valor, esperado] : casos)
        EXPECT_EQ(CLng(valor), esperado) << valor;
}

TEST(Aleatorio, MesmaSementeMesmaSequenciaEDentroDoIntervalo)
{
    Aleatorio a(42), b(42);
    for (int i = 0; i < 10000; ++i) {
        const double x = a.Rnd();
        ASSERT_EQ(x, b.Rnd());
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
    }
}

TEST(Geometria, TamanhosDasDuasPecas)
{
    const Geometria n = GeometriaPara(false), p = GeometriaPara(true);
    EXPECT_EQ(n.CoordBase, (std::array<int16_t, 6>{1, 24, 25, 87, 88, 112}));
    EXPECT_EQ(p.CoordBase, (std::array<int16_t, 6>{1, 15, 16, 56, 57, 72}));
    EXPECT_EQ(n.TamanhoCelula, 114);
    EXPECT_EQ(p.TamanhoCelula, 74);
    EXPECT_EQ(p.LadoMaximo, 378);
    EXPECT_EQ(p.LarguraRolagem, 64);
    EXPECT_EQ(n.AlturaRolagem, 99);
}

TEST(Jogo, ExtensaoDoCaminho)
{
    EXPECT_EQ(ExtensaoDe("/a/b/foto.jpg"), ".jpg");
    EXPECT_EQ(ExtensaoDe("/a/b/foto"), "");
    EXPECT_EQ(ExtensaoDe("/a/b/foto.muitolonga"), ".muitolo");
    EXPECT_EQ(ExtensaoDe("/a/pasta.x/foto"), ".x/foto");
    EXPECT_EQ(Jogo().BytesFigura, QByteArray(2, '\0'));
}
