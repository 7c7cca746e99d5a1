#include "game/aleatorio.h"
#include "pieces/formas.h"
#include "pieces/lados.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <deque>

using namespace zelpo;

namespace {

constexpr QRgb PRETO = 0xFF000000;
constexpr QRgb BRANCO = 0xFFFFFFFF;
constexpr QRgb MEDIO = 0xFF808080;
constexpr QRgb CLARO = 0xFFC0C0C0;

// How many board pixels of `area` are not covered exactly once by the pieces' shapes, each
// piece placed with its picture's corner at (coluna * T, linha * T).
int ForaDeUm(const std::vector<Parte>& pecas, const QRect& area, bool pequenas)
{
    const Geometria g = GeometriaPara(pequenas);
    std::vector<int> contagem(area.width() * area.height(), 0);
    for (const Parte& p : pecas) {
        const int t = g.TamanhoParte;
        for (const QRect& r : FormaDaPeca(p, g, pequenas).translated(p.Coluna * t, p.Linha * t) & area)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++contagem[(y - area.top()) * area.width() + x - area.left()];
    }
    return static_cast<int>(std::count_if(contagem.begin(), contagem.end(), [](int n) { return n != 1; }));
}

QRect AreaDaGrade(int colunas, int linhas, const Geometria& g)
{
    return QRect(g.m(), g.m(), colunas * g.TamanhoParte, linhas * g.TamanhoParte);
}

// Whether the shape is one 4-connected piece. The cell's four corner pixels are left
// out: where a side's outline starts one pixel off the baseline, the corner pixel stays
// with its cell but touches the rest of the piece only diagonally.
bool Conexa(QRegion forma, const Geometria& g)
{
    const int celula = g.TamanhoCelula;
    const int m = g.m();
    const int n = m + g.TamanhoParte - 1;
    for (QPoint canto : {QPoint(m, m), QPoint(n, m), QPoint(m, n), QPoint(n, n)})
        forma -= QRegion(QRect(canto, QSize(1, 1)));
    std::vector<char> dentro(celula * celula, 0);
    int total = 0;
    for (const QRect& r : forma)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x, ++total)
                dentro[y * celula + x] = 1;
    const QPoint inicio = forma.begin()->topLeft();
    std::deque<QPoint> fila{inicio};
    dentro[inicio.y() * celula + inicio.x()] = 0;
    int alcancados = 0;
    while (!fila.empty()) {
        const QPoint p = fila.front();
        fila.pop_front();
        ++alcancados;
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (q.x() >= 0 && q.y() >= 0 && q.x() < celula && q.y() < celula && dentro[q.y() * celula + q.x()]) {
                dentro[q.y() * celula + q.x()] = 0;
                fila.push_back(q);
            }
        }
    }
    return alcancados == total;
}

QImage Ruido(int largura, int altura, uint64_t semente)
{
    // Random colours whose red and green always differ, so no canvas pixel is grey.
    Aleatorio rnd(semente);
    QImage imagem(largura, altura, QImage::Format_RGB32);
    for (int y = 0; y < altura; ++y)
        for (int x = 0; x < largura; ++x) {
            const int r = static_cast<int>(rnd.Rnd() * 127) * 2;
            imagem.setPixel(x, y, qRgb(r, r + 1, static_cast<int>(rnd.Rnd() * 256)));
        }
    return imagem;
}

PecasMontadas Recortar(const QImage& canvas, int colunas, int linhas, const Geometria& g)
{
    PecasMontadas pecas;
    for (int r = 0; r < linhas; ++r)
        for (int c = 0; c < colunas; ++c)
            pecas.figuras.push_back(canvas.copy(c * g.TamanhoParte, r * g.TamanhoParte,
                                                g.TamanhoCelula, g.TamanhoCelula));
    return pecas;
}

} // namespace

TEST(Formas, VizinhosDeUmLadoCurvoSeEncaixamSemFrestaNemSobra)
{
    for (bool pequenas : {false, true}) {
        const Geometria g = GeometriaPara(pequenas);
        const int t = g.TamanhoParte;
        const int m = g.m();
        // The knob band of the shared side, in board pixels, for a pair stacked and a pair
        // side by side.
        const QRect faixaHorizontal(m, t, t, g.MargemParte);
        const QRect faixaVertical(t, m, g.MargemParte, t);
        for (int codigo = 1; codigo <= MAIOR_CODIGO; ++codigo) {
            SCOPED_TRACE(testing::Message() << "code " << codigo << (pequenas ? " small" : ""));
            Parte cima, baixo, esquerda, direita;
            cima.Baixo = baixo.Cima = static_cast<int16_t>(codigo);
            baixo.Linha = 1;
            esquerda.Direita = direita.Esquerda = static_cast<int16_t>(codigo);
            direita.Coluna = 1;
            EXPECT_EQ(ForaDeUm({cima, baixo}, faixaHorizontal, pequenas), 0);
            EXPECT_EQ(ForaDeUm({esquerda, direita}, faixaVertical, pequenas), 0);
        }
    }
}

TEST(Formas, QualquerParDeLadosSeCruzaNumCantoSemSeTocar)
{
    // A 2 x 2 grid whose two vertical inner sides carry code a and two horizontal ones
    // code b: each of the four pieces has an a-side and a b-side meeting at its inner
    // corner, where a socket of one could run into a socket of the other.
    for (bool pequenas : {false, true}) {
        const Geometria g = GeometriaPara(pequenas);
        const QRect area = AreaDaGrade(2, 2, g);
        int falhas = 0;
        for (int16_t a = 1; a <= MAIOR_CODIGO; ++a) {
            for (int16_t b = 1; b <= MAIOR_CODIGO; ++b) {
                const std::vector<Parte> pecas = {
                    {0, b, a, 0, 0, 0, 0}, {0, b, 0, a, 1, 0, 0},
                    {b, 0, a, 0, 0, 1, 0}, {b, 0, 0, a, 1, 1, 0}};
                const int fora = ForaDeUm(pecas, area, pequenas);
                if (fora != 0 && ++falhas < 5)
                    ADD_FAILURE() << "codes " << a << " and " << b << (pequenas ? " small" : "")
                                  << ": " << fora << " pixels not covered exactly once";
            }
        }
        EXPECT_EQ(falhas, 0);
    }
}

TEST(Formas, TodaCombinacaoDaUmaPecaInteiraComOMeioDaCelula)
{
    // Every code on every side, the other three drawn at random, plus wholly random pieces.
    for (bool pequenas : {false, true}) {
        const Geometria g = GeometriaPara(pequenas);
        const int m = g.m();
        const int t = g.TamanhoParte;
        const int fundo = pequenas ? 15 : 23; // deepest a socket reaches into the cell, plus one
        const QRegion meio(m + fundo, m + fundo, t - 2 * fundo, t - 2 * fundo);
        Aleatorio rnd(pequenas ? 3 : 5);
        const auto sorteio = [&] { return static_cast<int16_t>(CLng(rnd.Rnd() * 1000) % (MAIOR_CODIGO + 1)); };
        for (int caso = 0; caso < 4 * MAIOR_CODIGO + 400; ++caso) {
            Parte p{sorteio(), sorteio(), sorteio(), sorteio(), 0, 0, 0};
            if (caso < 4 * MAIOR_CODIGO) {
                const auto codigo = static_cast<int16_t>(caso / 4 + 1);
                std::array<int16_t*, 4> lados{&p.Cima, &p.Direita, &p.Baixo, &p.Esquerda};
                *lados[caso % 4] = codigo;
            }
            const QRegion forma = FormaDaPeca(p, g, pequenas);
            EXPECT_TRUE(Conexa(forma, g))
                << p.Cima << " " << p.Direita << " " << p.Baixo << " " << p.Esquerda;
            EXPECT_EQ(forma & meio, meio) << p.Cima << " " << p.Direita << " " << p.Baixo << " " << p.Esquerda;
        }
    }
}

TEST(Formas, PecaDeLadosRetosTemBiselNasBordasDoQuadrado)
{
    const Geometria g = GeometriaPara(false);
    const QRgb cor = qRgb(10, 200, 30);
    QImage esperada(114, 114, QImage::Format_RGB32);
    esperada.fill(PRETO);
    for (int y = 24; y <= 87; ++y)
        for (int x = 24; x <= 87; ++x)
            esperada.setPixel(x, y, cor);
    for (int i = 26; i <= 87; ++i) {
        esperada.setPixel(87, i, MEDIO);
        esperada.setPixel(i, 87, MEDIO);
    }
    for (int i = 24; i <= 87; ++i) {
        esperada.setPixel(24, i, CLARO);
        esperada.setPixel(i, 24, CLARO);
    }
    for (QPoint p : {QPoint(87, 25), QPoint(25, 87)})
        esperada.setPixel(p, CLARO);

    PecasMontadas pecas;
    pecas.figuras.push_back(QImage(114, 114, QImage::Format_RGB32));
    pecas.figuras[0].fill(cor);
    std::array<Parte, MAX_PECAS> partes{};
    MontarPecas(pecas, partes, 1, 1, g, false);
    EXPECT_EQ(pecas.formas[0], QRegion(24, 24, 64, 64));
    EXPECT_EQ(pecas.figuras[0].convertToFormat(QImage::Format_RGB32), esperada);
}

TEST(Formas, MascaraTemCadaFormaNoSeuLugar)
{
    const Geometria g = GeometriaPara(false);
    Aleatorio rnd(9);
    std::array<Parte, MAX_PECAS> partes{};
    SortearLados(partes, 3, 2, rnd);
    PecasMontadas pecas = Recortar(Ruido(242, 178, 1), 3, 2, g);
    MontarPecas(pecas, partes, 3, 2, g, false);
    ASSERT_EQ(pecas.mascara.size(), QSize(342, 228));
    ASSERT_EQ(pecas.formas.size(), 6u);
    int erradas = 0;
    for (int y = 0; y < 228; ++y)
        for (int x = 0; x < 342; ++x) {
            const int i = (y / 114) * 3 + x / 114;
            const bool naForma = pecas.formas[i].contains(QPoint(x % 114, y % 114));
            erradas += pecas.mascara.pixel(x, y) != (naForma ? PRETO : BRANCO);
        }
    EXPECT_EQ(erradas, 0);
    EXPECT_EQ(pecas.mascara.pixel(114 + 56, 114 + 56), PRETO); // piece 4 at (114, 114)
    EXPECT_EQ(pecas.mascara.pixel(113, 113), BRANCO);
}

TEST(Formas, PecasMontadasReproduzemOCanvasForaDoBisel)
{
    const struct {
        bool pequenas;
        int colunas, linhas;
    } casos[] = {{true, 9, 9}, {false, 6, 6}, {false, 2, 3}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(testing::Message() << caso.colunas << "x" << caso.linhas << (caso.pequenas ? " small" : ""));
        const Geometria g = GeometriaPara(caso.pequenas);
        const int t = g.TamanhoParte;
        const int c = g.TamanhoCelula;
        const QImage canvas = Ruido(caso.colunas * t + g.MargemParte, caso.linhas * t + g.MargemParte, 2);
        Aleatorio rnd(caso.colunas);
        std::array<Parte, MAX_PECAS> partes{};
        SortearLados(partes, caso.colunas, caso.linhas, rnd);
        PecasMontadas pecas = Recortar(canvas, caso.colunas, caso.linhas, g);
        MontarPecas(pecas, partes, caso.colunas, caso.linhas, g, caso.pequenas);

        // Stamp every piece as the board does: through its mask slot (AND), then its
        // picture (OR), on a background that no piece pixel can equal.
        QImage tabuleiro(canvas.size(), QImage::Format_RGB32);
        tabuleiro.fill(qRgb(1, 250, 3));
        for (int i = 0; i < caso.colunas * caso.linhas; ++i) {
            const QImage mascara = pecas.mascara.copy(partes[i].Coluna * c, partes[i].Linha * c, c, c);
            QPainter pintor(&tabuleiro);
            pintor.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            pintor.drawImage(partes[i].Coluna * t, partes[i].Linha * t, mascara);
            pintor.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            pintor.drawImage(partes[i].Coluna * t, partes[i].Linha * t, pecas.figuras[i]);
        }
        const QRect area = AreaDaGrade(caso.colunas, caso.linhas, g);
        int diferentes = 0, bisel = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = tabuleiro.pixel(x, y);
                if (p == canvas.pixel(x, y))
                    continue;
                if (p == MEDIO || p == CLARO)
                    ++bisel;
                else
                    ++diferentes;
            }
        EXPECT_EQ(diferentes, 0);
        // Two 1-px lines along each shape's boundary, never a flooded piece.
        EXPECT_LT(bisel, area.width() * area.height() / 6);
        EXPECT_GT(bisel, 2 * caso.colunas * caso.linhas * t);
    }
}
