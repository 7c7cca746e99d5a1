#include "figuras_de_teste.h"
#include "files/pastas.h"

using namespace zelpo;

// The same seed gives the same numbers, each in [0, 1). (CLng's halves to the even number
// are checked where they show: the clock's start, the border colour read from the
// settings, the picture's place on the canvas.)
TEST(Aleatorio, MesmaSementeMesmaSequenciaEDentroDoIntervalo)
{
    Aleatorio a(42), b(42);
    for (int i = 0; i < 10000; ++i) {
        const double x = a.Rnd();
        ASSERT_TRUE(x == b.Rnd() && x >= 0.0 && x < 1.0) << i << ": " << x;
    }
}

TEST(NovoJogo, EscolhaDeFiguraUniformeMesmoEmPastasGrandes)
{
    Aleatorio rnd(11);
    for (int n : {1, 5, 400, 5000}) {
        std::vector<int> contagem(n, 0);
        for (int i = 0; i < n * 200; ++i) {
            const int k = EscolherFigura(n, rnd);
            ASSERT_TRUE(k >= 0 && k < n) << k;
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
