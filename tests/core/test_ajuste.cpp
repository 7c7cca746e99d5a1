// Decoding only what the board keeps must give the pieces that decoding the whole
// picture and then cropping or shrinking it gave: the same pixels for a crop, and for a
// shrink the pixels of QImage::scaled(..., Qt::SmoothTransformation) of the whole.
#include "figuras_de_teste.h"
#include "pieces/ajuste.h"

#include <gtest/gtest.h>

#include <random>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

const Ajuste REDUZIR{384, true}, REDUZIR_PEQUENAS{378, true}, CORTAR{384, false};

QImage Aleatoria(int w, int h, bool alfa, uint32_t semente)
{
    std::mt19937 gerador(semente);
    QImage imagem(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* linha = reinterpret_cast<QRgb*>(imagem.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t v = gerador();
            linha[x] = !alfa ? v | 0xFF000000u : (v % 8 == 0 ? 0 : v);
        }
    }
    return imagem;
}

} // namespace

// Rows in any order, some only in part: the receptor's crop or shrink is, pixel for
// pixel, that of the whole picture (the missing parts transparent).
TEST(Ajuste, ReceptorComoAFiguraInteira)
{
    const struct { int w, h; Ajuste ajuste; bool alfa, deBaixo, parcial; } casos[] = {
        {1100, 1000, {1000, true}, false, false, false}, // a mild shrink, large enough to be by area
        {1100, 1000, {384, true}, true, true, true},
        {900, 300, REDUZIR, true, false, false},         // small, but to less than half
        {700, 500, REDUZIR, false, true, false},         // small and mild: painted by Qt
        {20000, 300, REDUZIR, false, false, true},
        {3000, 7, REDUZIR, true, true, false},           // 384 x 1
        {1, 1000, REDUZIR_PEQUENAS, false, false, false}, // 1 x 378, one column kept as it is
        {800, 600, CORTAR, true, true, true},
        {200, 100, CORTAR, false, false, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " S=" << c.ajuste.lado << (c.ajuste.reduzir ? " reduzir" : ""));
        QImage figura = Aleatoria(c.w, c.h, c.alfa, uint32_t(c.w * 31 + c.h));
        const int x0 = c.parcial ? c.w / 3 : 0, x1 = c.parcial ? 2 * c.w / 3 + 1 : c.w;
        const std::unique_ptr<ReceptorDeLinhas> receptor = NovoReceptor(figura.size(), c.ajuste);
        ASSERT_TRUE(receptor);
        for (int i = 0; i < c.h; ++i) {
            const int y = c.deBaixo ? c.h - 1 - i : i;
            if (receptor->PrecisaDaLinha(y))
                receptor->Receber(y, reinterpret_cast<const QRgb*>(figura.constScanLine(y)), x0, x1);
        }
        for (int y = 0; y < c.h; ++y) {
            QRgb* linha = reinterpret_cast<QRgb*>(figura.scanLine(y));
            std::fill(linha, linha + x0, 0u);
            std::fill(linha + x1, linha + c.w, 0u);
        }
        EXPECT_EQ(DiferencaMaxima(receptor->Resultado(), AjustarImagem(figura, c.ajuste)), 0);
    }
}
