#include "figuras_de_teste.h"
#include "pieces/corte.h"

using namespace zelpo;

namespace {

// A picture of one colour.
QImage Lisa(QSize tamanho, QColor cor = Qt::red)
{
    QImage f(tamanho, QImage::Format_ARGB32);
    f.fill(cor);
    return f;
}

} // namespace

TEST(Corte, ExemplosDeCanvasGradeEPosicao)
{
    // picture, small pieces, fitting, metafile -> picture kept, canvas, grid, the picture's
    // place on the canvas, the board's left edge (-1: not checked)
    const struct { QSize figura; bool pequenas, adaptar, metarquivo; QSize tamanho, canvas, grade; QPoint posicao; int esquerda; } casos[] = {
        {{100, 80}, false, true, false, {100, 80}, {178, 178}, {2, 2}, {38, 48}, 347},
        {{800, 600}, false, true, false, {384, 288}, {434, 370}, {6, 5}, {24, 40}, 219},
        {{800, 600}, false, false, false, {384, 384}, {434, 434}, {6, 6}, {24, 24}, -1},
        {{800, 600}, true, true, false, {378, 283}, {410, 326}, {9, 7}, {15, 20}, -1},
        {{382, 100}, true, true, false, {377, 98}, {410, 158}, {9, 3}, {16, 29}, -1},
        {{385, 200}, false, true, false, {384, 199}, {434, 306}, {6, 4}, {24, 52}, -1},
        // a panorama thinner than its ratio keeps one row rather than none
        {{20000, 50}, false, true, false, {384, 1}, {434, 178}, {6, 2}, {24, 88}, -1},
        // a metafile is shrunk even without fitting
        {{1600, 800}, false, false, true, {384, 192}, {434, 242}, {6, 3}, {24, 24}, -1},
    };
    for (const auto& c : casos) {
        const Corte corte = CortarFigura(Lisa(c.figura), c.metarquivo, Opcoes{{2, c.pequenas, c.adaptar}});
        SCOPED_TRACE(testing::Message() << c.figura.width() << "x" << c.figura.height()
                                        << (c.pequenas ? " small" : "") << (c.adaptar ? " fit" : ""));
        EXPECT_EQ(corte.tamanhoFigura, c.tamanho);
        EXPECT_EQ(corte.canvas.size(), c.canvas);
        EXPECT_EQ(QSize(corte.Colunas, corte.Linhas), c.grade);
        EXPECT_EQ(corte.posicaoFigura, c.posicao);
        EXPECT_TRUE(c.esquerda < 0 || corte.EsquerdaTabuleiro == c.esquerda) << corte.EsquerdaTabuleiro;
    }
    // A metafile is told by its name, in any case. (What the decoder is asked to keep, by
    // the options and that name, is what the examples above cut the canvas from.)
    EXPECT_TRUE(EhMetarquivo("/x/A.WMF"));
    EXPECT_FALSE(EhMetarquivo("/x/a.wmf.bmp"));
}

// The picture centred on the canvas, its transparent pixels and the margin around it in
// the border colour; without fitting, its top-left corner kept at full scale.
TEST(Corte, CorDaBordaEmVoltaECantoSemAdaptar)
{
    Opcoes o;
    o.BorderColor = 255; // pure red as 0x00BBGGRR
    QImage figura = Lisa({64, 64}, Qt::blue);
    figura.setPixelColor(10, 10, Qt::transparent);
    const QImage c = CortarFigura(figura, false, o).canvas;
    // the grid's corner, the picture's, its transparent pixel, its last one and past it
    for (auto [x, y, cor] : {std::tuple{24, 24, Qt::red}, {56, 56, Qt::blue}, {66, 66, Qt::red}, {119, 119, Qt::blue},
                             {120, 120, Qt::red}})
        EXPECT_EQ(c.pixelColor(x, y), QColor(cor)) << x << "," << y;
    o.Adaptar = false;
    figura = Lisa({800, 600}, Qt::green);
    figura.setPixelColor(383, 383, Qt::blue);
    figura.setPixelColor(384, 0, Qt::red);
    const QImage cortada = CortarFigura(figura, false, o).canvas;
    EXPECT_EQ(cortada.pixelColor(24 + 383, 24 + 383), QColor(Qt::blue));
    EXPECT_EQ(cortada.pixelColor(24 + 382, 24), QColor(Qt::green));
}

TEST(Corte, GradeSalvaMantemAGradeEMostraAFigura)
{
    // A picture that cuts into its own grid keeps it; one that no longer does (the words
    // of an unreadable picture, for a 6 x 5 game) is centred on the saved grid instead.
    const struct { QSize figura, grade; QPoint posicao; } casos[] = {
        {{800, 600}, {6, 5}, {24, 40}}, {{300, 60}, {6, 5}, {66, 154}},
        {{800, 600}, {2, 2}, {-104, -56}},
    };
    for (const auto& c : casos) {
        const Corte corte = CortarFigura(Lisa(c.figura), false, Opcoes{}, c.grade);
        EXPECT_EQ(QSize(corte.Colunas, corte.Linhas), c.grade);
        EXPECT_EQ(corte.canvas.size(), QSize(c.grade.width() * 64 + 50, c.grade.height() * 64 + 50));
        EXPECT_EQ(corte.posicaoFigura, c.posicao);
        EXPECT_EQ(corte.canvas.pixelColor(corte.canvas.width() / 2, corte.canvas.height() / 2), QColor(Qt::red));
    }
}

TEST(Corte, MiniaturaETabuleiro)
{
    const Corte corte = CortarFigura(Lisa({800, 600}, Qt::green), false, Opcoes{});
    EXPECT_EQ(corte.TopoTabuleiro, 34);
    QImage mini(LADO_MINIATURA, LADO_MINIATURA, QImage::Format_RGB32);
    mini.fill(Qt::white);
    PintarMiniatura(mini, corte);
    // 6 x 5 grid: 144 x 120 painted, the rest left as it was
    // (the border colour below the 288-px picture at 100, 119)
    for (auto [x, y, cor] : {std::tuple{143, 60, QColor(Qt::green)}, {100, 119, QColor(0, 0, 128)},
                             {144, 50, QColor(Qt::white)}, {50, 120, QColor(Qt::white)}})
        EXPECT_EQ(mini.pixelColor(x, y), cor) << x << "," << y;
}

TEST(Corte, FiguraInvalidaTemOTamanhoDoTexto)
{
    const QImage f = FiguraInvalida();
    EXPECT_TRUE(f.width() > 250 && f.width() < 384 && f.height() > 40) << f.width() << "x" << f.height();
    EXPECT_GT(figuras_de_teste::Contar(f, [](QRgb p) { return qAlpha(p) > 128; }), 1000);
}
