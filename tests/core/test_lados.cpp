#include "game/aleatorio.h"
#include "pieces/lados.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace zelpo;

namespace {

// How far an outline may reach across its band, and the stretch of the side that the
// knob may use, so that the knobs of the perpendicular sides of a piece never meet.
struct Conjunto {
    bool pequenas;
    int L, K, m;
    int minimo, maximo;       // across the side
    int inicioKnob, fimKnob;  // along the side
    int alturaKnob;           // points farther than this from the baseline belong to the knob
};

const Conjunto CONJUNTOS[] = {
    {false, 63, 49, 24, 3, 46, 14, 49, 5},
    {true, 41, 31, 15, 2, 29, 9, 32, 3},
};

ListaPontos SemFecho(ListaPontos lista)
{
    lista.resize(lista.size() - PONTOS_DE_FECHO);
    return lista;
}

int Chebyshev(QPoint a, QPoint b)
{
    return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

} // namespace

TEST(Lados, TodosOsContornosRespeitamOQuadro)
{
    for (const Conjunto& s : CONJUNTOS) {
        for (int codigo = 1; codigo <= MAIOR_CODIGO; ++codigo) {
            for (bool horizontal : {true, false}) {
                SCOPED_TRACE(testing::Message() << "code " << codigo << (horizontal ? " H" : " V")
                                                << (s.pequenas ? " small" : " normal"));
                const ListaPontos lista = CarregarLado(codigo, horizontal, s.pequenas);
                ASSERT_GT(lista.size(), 10u + PONTOS_DE_FECHO);
                for (size_t i = lista.size() - PONTOS_DE_FECHO; i < lista.size(); ++i)
                    EXPECT_EQ(lista[i], QPoint(0, 0));
                // Read every outline in the horizontal frame: along = x, across = y.
                ListaPontos c = SemFecho(lista);
                if (!horizontal)
                    std::transform(c.begin(), c.end(), c.begin(), [](QPoint p) { return p.transposed(); });
                EXPECT_EQ(c.front().x(), 0);
                EXPECT_EQ(c.back().x(), s.L);
                EXPECT_TRUE(c.front().y() == s.m || c.front().y() == s.m + 1);
                EXPECT_TRUE(c.back().y() == s.m || c.back().y() == s.m + 1);
                std::set<std::pair<int, int>> fora;
                for (QPoint p : c)
                    if (p.x() < 0 || p.x() > s.L || p.y() < s.minimo || p.y() > s.maximo
                        || (std::abs(p.y() - s.m) > s.alturaKnob
                            && (p.x() < s.inicioKnob || p.x() > s.fimKnob)))
                        fora.insert({p.x(), p.y()});
                EXPECT_TRUE(fora.empty()) << fora.size() << " points out of bounds";
                std::set<std::pair<int, int>> vistos;
                for (size_t i = 0; i < c.size(); ++i) {
                    EXPECT_TRUE(vistos.insert({c[i].x(), c[i].y()}).second) << "repeated point " << i;
                    if (i > 0) {
                        EXPECT_EQ(Chebyshev(c[i], c[i - 1]), 1) << "step at " << i;
                    }
                    // No pinch: parts of the chain that are not neighbours along it keep a
                    // pixel between them, so the neck is never a single pixel wide.
                    for (size_t j = i + 4; j < c.size(); ++j)
                        ASSERT_GE(Chebyshev(c[i], c[j]), 2) << "points " << i << " and " << j;
                }
            }
        }
    }
}

TEST(Lados, VariantesDeUmGrupoEQuadroVertical)
{
    const auto h = [](int codigo, bool pequenas) { return SemFecho(CarregarLado(codigo, true, pequenas)); };
    const auto v = [](int codigo, bool pequenas) { return SemFecho(CarregarLado(codigo, false, pequenas)); };
    for (const Conjunto& s : CONJUNTOS) {
        for (int grupo = 1; grupo <= 13; ++grupo) {
            SCOPED_TRACE(testing::Message() << "group " << grupo << (s.pequenas ? " small" : ""));
            const int b = 4 * grupo - 3;
            const ListaPontos base = h(b, s.pequenas);
            ListaPontos meiaVolta, espelhoAtravessado, espelhoAoLongo;
            for (QPoint p : base) {
                meiaVolta.insert(meiaVolta.begin(), QPoint(s.L - p.x(), s.K - p.y()));
                espelhoAtravessado.push_back(QPoint(p.x(), s.K - p.y()));
                espelhoAoLongo.insert(espelhoAoLongo.begin(), QPoint(s.L - p.x(), p.y()));
            }
            EXPECT_EQ(h(b + 1, s.pequenas), meiaVolta);
            EXPECT_EQ(h(b + 2, s.pequenas), espelhoAtravessado);
            EXPECT_EQ(h(b + 3, s.pequenas), espelhoAoLongo);
            for (int variante = 1; variante <= 4; ++variante) {
                ListaPontos transposta = h(4 * grupo + 1 - variante, s.pequenas);
                for (QPoint& p : transposta)
                    p = p.transposed();
                EXPECT_EQ(v(4 * grupo - 4 + variante, s.pequenas), transposta) << "variant " << variante;
            }
        }
    }
}

TEST(Lados, OGrupoUmTemOsContornosDesenhadosAMao)
{
    const ListaPontos normal = SemFecho(CarregarLado(1, true, false));
    ASSERT_EQ(normal.size(), 86u);
    EXPECT_EQ(normal[20], QPoint(20, 32));
    EXPECT_EQ(normal[33], QPoint(23, 45));
    EXPECT_EQ(normal[78], QPoint(56, 22));
    const ListaPontos pequenas = CarregarLado(1, true, true);
    ASSERT_EQ(pequenas.size(), 59u);
    EXPECT_EQ(pequenas[21], QPoint(16, 29));
    EXPECT_EQ(pequenas[46], QPoint(32, 14));
    EXPECT_EQ(CarregarLado(1, false, true).size(), 59u);

    ListaPontos transposta = normal;
    ListaPontos espelhada = normal;
    for (size_t i = 0; i < normal.size(); ++i) {
        transposta[i] = normal[i].transposed();
        espelhada[i].setY(49 - normal[i].y());
    }
    EXPECT_EQ(SemFecho(CarregarLado(4, false, false)), transposta);
    EXPECT_EQ(SemFecho(CarregarLado(3, true, false)), espelhada);
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
    // Codes past 40 are never drawn but a saved game may hold them.
    EXPECT_EQ(CarregarLado(45, true, false).size(), CarregarLado(46, true, false).size()); // group 12
    for (int codigo : {-1, 53, 1000})
        EXPECT_TRUE(CarregarLado(codigo, true, false).empty()) << codigo;
}

TEST(Lados, SorteioDeCodigosVaiDeUmAQuarenta)
{
    Aleatorio rnd(42);
    std::set<int> vistos;
    for (int i = 0; i < 4000; ++i) {
        const int codigo = SortearLado(rnd);
        ASSERT_GE(codigo, 1);
        ASSERT_LE(codigo, CODIGOS_SORTEADOS);
        vistos.insert(codigo);
    }
    EXPECT_EQ(vistos.size(), 40u);
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
    //                          Cima      Baixo     Direita    Esquerda   Col Lin Enc
    EXPECT_EQ(partes[0], (Parte{0, baixo00, direita00, 0, 0, 0, 0}));
    EXPECT_EQ(partes[1], (Parte{0, baixo01, 0, direita00, 1, 0, 0}));
    EXPECT_EQ(partes[2], (Parte{baixo00, 0, direita10, 0, 0, 1, 0}));
    EXPECT_EQ(partes[3], (Parte{baixo01, 0, 0, direita10, 1, 1, 0}));
    for (int i = 4; i < MAX_PECAS; ++i)
        EXPECT_EQ(partes[i], Parte{}) << i;
    EXPECT_EQ(rnd.Rnd(), gemeo.Rnd()); // exactly four draws
}
