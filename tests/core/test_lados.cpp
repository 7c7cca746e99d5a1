#include "game/aleatorio.h"
#include "pieces/lados.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelpo;

namespace {

// The frame of a horizontal side, how far an outline may reach across it, and the stretch
// along it that a knob may use, so the knobs of a piece's perpendicular sides never meet.
struct Conjunto {
    bool pequenas;
    int L, K, m;
    int minimo, maximo;
    int inicioKnob, fimKnob, alturaKnob; // points farther than alturaKnob from m are knob
};

const Conjunto CONJUNTOS[] = {
    {false, 63, 49, 24, 3, 46, 14, 49, 5},
    {true, 41, 31, 15, 2, 29, 9, 32, 3},
};

// The outline without its spare points, read in the horizontal frame.
ListaPontos Contorno(int codigo, bool horizontal, bool pequenas)
{
    ListaPontos lista = CarregarLado(codigo, horizontal, pequenas);
    lista.resize(lista.size() - PONTOS_DE_FECHO);
    if (!horizontal)
        for (QPoint& p : lista)
            p = p.transposed();
    return lista;
}

int Distancia(QPoint a, QPoint b)
{
    return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

} // namespace

TEST(Lados, TodosOsContornosRespeitamOQuadro)
{
    for (const Conjunto& s : CONJUNTOS)
        for (int codigo = 1; codigo <= MAIOR_CODIGO; ++codigo)
            for (bool horizontal : {true, false}) {
                SCOPED_TRACE(testing::Message() << "code " << codigo << (horizontal ? " H" : " V")
                                                << (s.pequenas ? " small" : ""));
                const ListaPontos lista = CarregarLado(codigo, horizontal, s.pequenas);
                ASSERT_GT(lista.size(), 20u);
                EXPECT_EQ(lista.back(), QPoint(0, 0));
                const ListaPontos c = Contorno(codigo, horizontal, s.pequenas);
                EXPECT_EQ(c.front().x(), 0);
                EXPECT_EQ(c.back().x(), s.L);
                EXPECT_LE(std::abs(2 * c.front().y() - 2 * s.m - 1), 1);
                EXPECT_LE(std::abs(2 * c.back().y() - 2 * s.m - 1), 1);
                std::set<std::pair<int, int>> vistos;
                for (size_t i = 0; i < c.size(); ++i) {
                    const QPoint p = c[i];
                    EXPECT_TRUE(vistos.insert({p.x(), p.y()}).second) << "repeated point " << i;
                    EXPECT_TRUE(p.x() >= 0 && p.x() <= s.L && p.y() >= s.minimo && p.y() <= s.maximo) << i;
                    if (std::abs(p.y() - s.m) > s.alturaKnob) {
                        EXPECT_TRUE(p.x() >= s.inicioKnob && p.x() <= s.fimKnob) << "knob near an end " << i;
                    }
                    if (i > 0) {
                        EXPECT_EQ(Distancia(p, c[i - 1]), 1) << "step at " << i;
                    }
                    // Stretches of the chain that are not neighbours along it keep a pixel
                    // between them: no one-pixel neck, no pinch.
                    for (size_t j = i + 4; j < c.size(); ++j)
                        ASSERT_GE(Distancia(p, c[j]), 2) << "points " << i << " and " << j;
                }
            }
}

TEST(Lados, VariantesDeCadaGrupoEDadosDoGrupoUm)
{
    for (const Conjunto& s : CONJUNTOS)
        for (int grupo = 1; grupo <= 13; ++grupo) {
            SCOPED_TRACE(testing::Message() << "group " << grupo << (s.pequenas ? " small" : ""));
            const int b = 4 * grupo - 3;
            const ListaPontos base = Contorno(b, true, s.pequenas);
            ListaPontos meiaVolta, atravessado, aoLongo;
            for (QPoint p : base) {
                meiaVolta.insert(meiaVolta.begin(), QPoint(s.L - p.x(), s.K - p.y()));
                atravessado.push_back(QPoint(p.x(), s.K - p.y()));
                aoLongo.insert(aoLongo.begin(), QPoint(s.L - p.x(), p.y()));
            }
            EXPECT_EQ(Contorno(b + 1, true, s.pequenas), meiaVolta);
            EXPECT_EQ(Contorno(b + 2, true, s.pequenas), atravessado);
            EXPECT_EQ(Contorno(b + 3, true, s.pequenas), aoLongo);
            for (int v = 1; v <= 4; ++v)
                EXPECT_EQ(Contorno(b - 1 + v, false, s.pequenas), Contorno(4 * grupo + 1 - v, true, s.pequenas));
        }
    // Group 1 is the hand-drawn outline, point for point.
    const ListaPontos normal = Contorno(1, true, false);
    ASSERT_EQ(normal.size(), 86u);
    EXPECT_EQ(normal[20], QPoint(20, 32));
    EXPECT_EQ(normal[33], QPoint(23, 45));
    EXPECT_EQ(normal[78], QPoint(56, 22));
    const ListaPontos pequenas = CarregarLado(1, true, true);
    ASSERT_EQ(pequenas.size(), 59u);
    EXPECT_EQ(pequenas[21], QPoint(16, 29));
    EXPECT_EQ(pequenas[46], QPoint(32, 14));
}

TEST(Lados, CodigoZeroEForaDasTabelas)
{
    const struct {
        bool horizontal, pequenas;
        QPoint inicio, fim;
    } retos[] = {
        {true, false, {0, 24}, {63, 24}},
        {false, false, {24, 0}, {24, 63}},
        {true, true, {0, 15}, {41, 15}},
        {false, true, {15, 0}, {15, 41}},
    };
    for (const auto& r : retos)
        EXPECT_EQ(CarregarLado(0, r.horizontal, r.pequenas),
                  (ListaPontos{r.inicio, r.fim, {0, 0}, {0, 0}, {0, 0}}));
    for (int codigo : {-1, 53, 1000})
        EXPECT_TRUE(CarregarLado(codigo, true, false).empty()) << codigo;
}

TEST(Lados, GradeDoisPorDoisSorteiaBaixoAntesDaDireita)
{
    Aleatorio rnd(7);
    Aleatorio gemeo(7);
    std::array<Parte, MAX_PECAS> partes;
    partes.fill(Parte{9, 9, 9, 9, 9, 9, 9});
    SortearLados(partes, 2, 2, rnd);
    const int16_t baixo00 = SortearLado(gemeo);
    const int16_t direita00 = SortearLado(gemeo);
    const int16_t baixo01 = SortearLado(gemeo);
    const int16_t direita10 = SortearLado(gemeo);
    for (int16_t codigo : {baixo00, direita00, baixo01, direita10})
        EXPECT_TRUE(codigo >= 1 && codigo <= CODIGOS_SORTEADOS) << codigo;
    //                          Cima      Baixo     Direita    Esquerda   Col Lin Enc
    EXPECT_EQ(partes[0], (Parte{0, baixo00, direita00, 0, 0, 0, 0}));
    EXPECT_EQ(partes[1], (Parte{0, baixo01, 0, direita00, 1, 0, 0}));
    EXPECT_EQ(partes[2], (Parte{baixo00, 0, direita10, 0, 0, 1, 0}));
    EXPECT_EQ(partes[3], (Parte{baixo01, 0, 0, direita10, 1, 1, 0}));
    for (int i = 4; i < MAX_PECAS; ++i)
        EXPECT_EQ(partes[i], Parte{}) << i;
    EXPECT_EQ(rnd.Rnd(), gemeo.Rnd()); // exactly four draws
}
