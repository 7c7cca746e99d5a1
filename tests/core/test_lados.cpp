#include "records/aleatorio.h"
#include "pieces/lados.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelpo;

namespace {

// The frame of a horizontal side (L x K, baseline m), how far an outline may reach across
// it, and the stretch along it that a knob may use, so the knobs of a piece's perpendicular
// sides never meet; points farther than alturaKnob from m are knob.
struct Conjunto { bool pequenas; int L, K, m, minimo, maximo, inicioKnob, fimKnob, alturaKnob; };
const Conjunto CONJUNTOS[] = {{false, 63, 49, 24, 3, 46, 14, 49, 5}, {true, 41, 31, 15, 2, 29, 9, 32, 3}};

// The outline without its spare points, read in the horizontal frame.
ListaPontos Contorno(int codigo, bool horizontal, bool pequenas)
{
    ListaPontos lista = CarregarLado(codigo, horizontal, pequenas);
    lista.resize(lista.size() - PONTOS_DE_FECHO);
    for (QPoint& p : lista)
        p = horizontal ? p : p.transposed();
    return lista;
}

int Distancia(QPoint a, QPoint b) { return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y())); }

} // namespace

TEST(Lados, TodosOsContornosRespeitamOQuadro)
{
    for (const Conjunto& s : CONJUNTOS) {
        // Code 0 is the straight side on the baseline; codes past the tables have no outline.
        EXPECT_EQ(CarregarLado(0, true, s.pequenas), (ListaPontos{{0, s.m}, {s.L, s.m}, {0, 0}, {0, 0}, {0, 0}}));
        EXPECT_EQ(Contorno(0, false, s.pequenas), (ListaPontos{{0, s.m}, {s.L, s.m}}));
        for (int codigo : {-1, 53})
            EXPECT_TRUE(CarregarLado(codigo, true, s.pequenas).empty()) << codigo;
        for (int codigo = 1; codigo <= MAIOR_CODIGO_LADO; ++codigo)
            for (bool horizontal : {true, false}) {
                SCOPED_TRACE(testing::Message() << "code " << codigo << (horizontal ? " H" : " V")
                                                << (s.pequenas ? " small" : ""));
                ASSERT_EQ(CarregarLado(codigo, horizontal, s.pequenas).back(), QPoint(0, 0));
                const ListaPontos c = Contorno(codigo, horizontal, s.pequenas);
                ASSERT_GT(c.size(), 20u);
                EXPECT_TRUE(c.front().x() == 0 && c.back().x() == s.L);
                EXPECT_TRUE(std::abs(2 * c.front().y() - 2 * s.m - 1) <= 1 && std::abs(2 * c.back().y() - 2 * s.m - 1) <= 1);
                std::set<std::pair<int, int>> vistos;
                for (size_t i = 0; i < c.size(); ++i) {
                    const QPoint p = c[i];
                    const bool knob = std::abs(p.y() - s.m) > s.alturaKnob;
                    EXPECT_TRUE(vistos.insert({p.x(), p.y()}).second) << "repeated point " << i;
                    EXPECT_TRUE(p.x() >= 0 && p.x() <= s.L && p.y() >= s.minimo && p.y() <= s.maximo) << i;
                    EXPECT_TRUE(!knob || (p.x() >= s.inicioKnob && p.x() <= s.fimKnob)) << "knob near an end " << i;
                    EXPECT_TRUE(i == 0 || Distancia(p, c[i - 1]) == 1) << "step at " << i;
                    // Stretches of the chain that are not neighbours along it keep a pixel
                    // between them: no one-pixel neck, no pinch.
                    for (size_t j = i + 4; j < c.size(); ++j)
                        ASSERT_GE(Distancia(p, c[j]), 2) << "points " << i << " and " << j;
                }
            }
    }
}

TEST(Lados, VariantesDeCadaGrupoEDadosDoGrupoUm)
{
    for (const Conjunto& s : CONJUNTOS)
        for (int b = 1; b <= MAIOR_CODIGO_LADO; b += 4) {
            SCOPED_TRACE(testing::Message() << "group of " << b << (s.pequenas ? " small" : ""));
            ListaPontos meiaVolta, atravessado, aoLongo;
            for (QPoint p : Contorno(b, true, s.pequenas)) {
                meiaVolta.insert(meiaVolta.begin(), QPoint(s.L - p.x(), s.K - p.y()));
                atravessado.push_back(QPoint(p.x(), s.K - p.y()));
                aoLongo.insert(aoLongo.begin(), QPoint(s.L - p.x(), p.y()));
            }
            EXPECT_EQ(Contorno(b + 1, true, s.pequenas), meiaVolta);
            EXPECT_EQ(Contorno(b + 2, true, s.pequenas), atravessado);
            EXPECT_EQ(Contorno(b + 3, true, s.pequenas), aoLongo);
            for (int v = 0; v < 4; ++v) // vertical outlines run the group backwards
                EXPECT_EQ(Contorno(b + v, false, s.pequenas), Contorno(b + 3 - v, true, s.pequenas));
        }
}

// New puzzles draw their inner sides from codes 1 to 40, every one of them, and never the
// straight side. (That neighbours share each code drawn shows in every test that shapes,
// saves or copies a new game.)
TEST(Lados, SorteioDeUmA40)
{
    Aleatorio rnd(7);
    std::set<int> vistos;
    for (int i = 0; i < 4000; ++i)
        vistos.insert(SortearLado(rnd));
    EXPECT_TRUE(vistos.size() == size_t(CODIGOS_SORTEADOS) && *vistos.begin() == 1 && *vistos.rbegin() == CODIGOS_SORTEADOS);
}
