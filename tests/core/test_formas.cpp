#include "figuras_de_teste.h"
#include "game/formacao.h"
#include "pieces/formas.h"
#include "pieces/lados.h"
#include "play/encaixe.h"

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

constexpr QRgb MEDIO = 0xFF808080, CLARO = 0xFFC0C0C0;

// How many pixels of the colunas x linhas grid are not covered exactly once by the
// pieces' shapes, each placed with its picture's corner at (coluna * T, linha * T).
int ForaDeUm(const std::vector<Parte>& pecas, int colunas, int linhas, bool pequenas)
{
    const Geometria g = GeometriaPara(pequenas);
    const int t = g.TamanhoParte;
    const QRect area(g.m(), g.m(), colunas * t, linhas * t);
    std::vector<int> contagem(size_t(area.width() * area.height()), 0);
    for (const Parte& p : pecas)
        for (const QRect& r : FormaDaPeca(p, g).translated(p.Coluna * t, p.Linha * t) & area)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++contagem[size_t((y - area.top()) * area.width() + x - area.left())];
    return int(std::count_if(contagem.begin(), contagem.end(), [](int n) { return n != 1; }));
}

} // namespace

// A 2 x 2 grid whose two vertical inner sides carry code a and two horizontal ones code b:
// every code meets its neighbour both ways, and each piece's a-side and b-side meet at its
// inner corner, where a socket of one could run into the other; the four pieces put every
// corner of a cell between two cut sides. With the outlines' own checks (test_lados.cpp:
// inside their frame, no neck, no pinch) an exact cover leaves no room for a piece in two
// parts or a socket that eats the middle of its cell.
TEST(Formas, QualquerParDeLadosEncaixaSemFrestaNemSobra)
{
    for (bool pequenas : {false, true}) {
        int falhas = 0;
        for (int16_t a = 1; a <= MAIOR_CODIGO_LADO; ++a)
            for (int16_t b = 1; b <= MAIOR_CODIGO_LADO; ++b) {
                const int fora = ForaDeUm({{0, b, a, 0, 0, 0, 0}, {0, b, 0, a, 1, 0, 0},
                                           {b, 0, a, 0, 0, 1, 0}, {b, 0, 0, a, 1, 1, 0}}, 2, 2, pequenas);
                if (fora != 0 && ++falhas < 5)
                    ADD_FAILURE() << "codes " << a << " and " << b << (pequenas ? " small" : "")
                                  << ": " << fora << " pixels not covered exactly once";
            }
        EXPECT_EQ(falhas, 0);
    }
}

// The square of the cell in the picture's colour, black around it, and on its outermost
// pixels a bevel: light grey along the left and top, mid grey along the right and bottom,
// the light one reaching the diagonal x + y = 112 through the top-right and bottom-left corners.
TEST(Formas, PecaDeLadosRetosTemBiselNasBordasDoQuadrado)
{
    const QRgb cor = qRgb(10, 200, 30);
    const QImage esperada = Pintada(114, 114, [&](int x, int y) {
        const bool quadrado = QRect(24, 24, 64, 64).contains(x, y), miolo = QRect(25, 25, 62, 62).contains(x, y);
        return !quadrado ? PRETO : miolo ? cor : x + y <= 112 ? CLARO : MEDIO;
    }, QImage::Format_RGB32);
    QImage canvas(114, 114, QImage::Format_RGB32);
    canvas.fill(cor);
    PecasMontadas pecas(canvas, 1, {}, 1, 1, GeometriaPara(false));
    EXPECT_EQ(pecas.Forma(0), QRegion(24, 24, 64, 64));
    EXPECT_EQ(pecas.Figura(0).convertToFormat(QImage::Format_RGB32), esperada);
}

// The pieces pasted on the board as it pastes them give back the canvas they were cut
// from, but for their bevel. Grids wider than tall, so a row taken for a column shows.
TEST(Formas, PecasMontadasReproduzemOCanvasForaDoBisel)
{
    for (auto [colunas, linhas, pequenas] : {std::tuple{9, 7, true}, std::tuple{6, 4, false}}) {
        SCOPED_TRACE(testing::Message() << colunas << "x" << linhas << (pequenas ? " small" : ""));
        const Geometria g = GeometriaPara(pequenas);
        const int t = g.TamanhoParte, n = colunas * linhas;
        // A puzzle cut from random colours whose red and green always differ, so no canvas
        // pixel is grey.
        Aleatorio rnd{uint64_t(colunas)};
        const QImage canvas = Pintada(colunas * t + g.MargemParte, linhas * t + g.MargemParte, [&rnd](int, int) {
            const int r = int(rnd.Rnd() * 127) * 2;
            return qRgb(r, r + 1, int(rnd.Rnd() * 256));
        }, QImage::Format_RGB32);
        std::array<Parte, MAX_PECAS> partes{};
        SortearLados(partes, colunas, linhas, rnd);
        PecasMontadas pecas(canvas, 1, partes, colunas, linhas, g);
        // Paste every piece as the board does, on a background no piece pixel can equal.
        QImage tabuleiro(canvas.size(), QImage::Format_RGB32);
        tabuleiro.fill(qRgb(1, 250, 3));
        for (int i = 0; i < n; ++i)
            ColarNoTabuleiro(tabuleiro, pecas.Forma(i), pecas.Figura(i), QPoint(partes[i].Coluna, partes[i].Linha) * t);
        int diferentes = 0, bisel = 0;
        for (int y = g.m(); y < g.m() + linhas * t; ++y)
            for (int x = g.m(); x < g.m() + colunas * t; ++x) {
                const QRgb p = tabuleiro.pixel(x, y);
                bisel += p != canvas.pixel(x, y) && (p == MEDIO || p == CLARO);
                diferentes += p != canvas.pixel(x, y) && p != MEDIO && p != CLARO;
            }
        EXPECT_EQ(diferentes, 0);
        // Two 1-px lines along each shape's boundary, never a flooded piece.
        EXPECT_LT(bisel, n * t * t / 6);
        EXPECT_GT(bisel, 2 * n * t);
    }
}

// For a 2x screen the pieces come from the picture's own pixels, not from the 1x picture
// enlarged, and their outlines are smooth curves rather than doubled pixel stairs: a
// 768-px checkerboard, which the 1x board can only show grey, keeps its black and white
// squares, and the outline's edge pixels are partly transparent.
TEST(Formas, EmDuasVezesDetalheDaFiguraEContornoSuave)
{
    const QImage xadrez = Pintada(768, 768, [](int x, int y) { return (x + y) % 2 ? BRANCO : PRETO; });
    const QByteArray png = Codificar(xadrez, "png");
    Aleatorio rnd(5);
    QuebraCabeca qc = FormarQuebraCabeca(QStringLiteral("xadrez.png"), png, {}, Opcoes{{1, false, true}}, rnd, 2);
    ASSERT_TRUE(qc.recusa.isEmpty()) << qc.recusa.toStdString();
    const Geometria g = GeometriaPara(false);
    for (int16_t peca : {int16_t(0), int16_t(qc.jogo.Pecas() - 1)}) {
        const QImage& f = qc.pecas.Figura(peca);
        ASSERT_EQ(f.size(), QSize(2 * g.TamanhoCelula, 2 * g.TamanhoCelula));
        const QImage corpo = f.copy(2 * g.m() + 10, 2 * g.m() + 10, 2 * g.TamanhoParte - 20, 2 * g.TamanhoParte - 20);
        EXPECT_GT(Contar(corpo, [](QRgb p) { return qGray(p) < 40; }), g.TamanhoParte * g.TamanhoParte) << peca;
        EXPECT_GT(Contar(corpo, [](QRgb p) { return qGray(p) > 215; }), g.TamanhoParte * g.TamanhoParte) << peca;
        EXPECT_GT(Contar(f, [](QRgb p) { return qAlpha(p) > 0 && qAlpha(p) < 255; }), 2 * g.TamanhoParte) << peca;
    }
}
