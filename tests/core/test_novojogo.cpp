#include "figuras_de_teste.h"
#include "game/aleatorio.h"
#include "game/novojogo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <set>

using namespace zelpo;

TEST(NovoJogo, DistribuicaoReinicioEOrdemDaGrade)
{
    for (auto [colunas, linhas] : {std::pair{2, 2}, {9, 9}}) {
        Aleatorio rnd(colunas);
        JogoSalvo j;
        j.Colunas = int16_t(colunas);
        j.Linhas = int16_t(linhas);
        j.BytesFigura = QByteArray("abc");
        j.Dificuldade = 2;
        FormarEstado(j, rnd);
        const int n = colunas * linhas;
        std::set<int> vistos(j.PartesRolagem.begin(), j.PartesRolagem.begin() + n);
        EXPECT_EQ(vistos.size(), static_cast<size_t>(n));
        EXPECT_EQ(*vistos.rbegin(), n - 1);
        EXPECT_TRUE(std::all_of(j.PartesRolagem.begin() + n, j.PartesRolagem.end(), [](int16_t s) { return s == VAZIO; }));
        EXPECT_EQ(j.PartesRolagem, j.PartesRolagemInicio);
        EXPECT_EQ(j.BytesFigura, MarcadorFigura());

        // A restart goes back to the deal and keeps the edges.
        const auto partes = j.Partes;
        j.Partes[1].Encaixada = VERDADEIRO;
        j.PartesRolagem.fill(VAZIO);
        j.SegundosJogo = 50;
        Reiniciar(j);
        EXPECT_EQ(j.PartesRolagem, j.PartesRolagemInicio);
        EXPECT_EQ(j.PartesNaRolagem, n);
        EXPECT_EQ(j.PartesIniciais, 2);
        EXPECT_EQ(j.SegundosJogo, 0);
        EXPECT_EQ(j.Partes, partes);
    }
    JogoSalvo j;
    j.Colunas = j.Linhas = 3;
    DistribuirEmOrdem(j);
    for (int i = 0; i < SLOTS_ROLAGEM; ++i)
        EXPECT_EQ(j.PartesRolagemInicio[i], i < 9 ? i : VAZIO);
}

TEST(NovoJogo, EscolhaDeFiguraUniformeMesmoEmPastasGrandes)
{
    Aleatorio rnd(11);
    for (int n : {1, 5, 400, 5000}) {
        std::vector<int> contagem(n, 0);
        const int sorteios = n * 200;
        for (int i = 0; i < sorteios; ++i) {
            const int k = EscolherFigura(n, rnd);
            ASSERT_GE(k, 0);
            ASSERT_LT(k, n);
            ++contagem[k];
        }
        const auto [menor, maior] = std::minmax_element(contagem.begin(), contagem.end());
        EXPECT_GT(*menor, 100) << n; // every file is reachable and none starves
        EXPECT_LT(*maior, 320) << n;
    }
}

TEST(NovoJogo, ListaDeArquivosDaPasta)
{
    QTemporaryDir tmp;
    EXPECT_EQ(PastaDaDificuldade(tmp.path(), 1), tmp.path() + QStringLiteral("/Facil/"));
    EXPECT_EQ(PastaDaDificuldade(tmp.path(), 7), tmp.path() + QStringLiteral("/Dificil/"));
    ListaArquivos lista;
    lista.Path = tmp.path() + QStringLiteral("/nada");
    EXPECT_FALSE(lista.Refresh().isEmpty());
    for (const char* nome : {"b.JPG", "a.gif", "c.png", "d.wmf", "e.txt"})
        ASSERT_TRUE(figuras_de_teste::Gravar(tmp.path() + QLatin1Char('/') + QLatin1String(nome), {}));
    QDir(tmp.path()).mkdir(QStringLiteral("pasta.jpg"));
    lista.Path = tmp.path();
    EXPECT_TRUE(lista.Refresh().isEmpty());
    ASSERT_EQ(lista.ListCount(), 3);
    EXPECT_TRUE(lista.List(0) == QStringLiteral("a.gif") && lista.List(1) == QStringLiteral("b.JPG")
                && lista.List(2) == QStringLiteral("d.wmf"));
}
