// How sharp a screenshot taken at twice the pixels is: of the aligned 2 x 2 blocks in its
// busy areas (where the colours around a block vary), the share that is one colour. A
// picture drawn at one pixel and doubled gives nearly all of them; a true 2x drawing,
// well under half.
//   zelpo_nitidez captura.png [x y largura altura]   (the region in the file's pixels)
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>

namespace {

int Luz(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

// The block at (x, y) lies where the light varies by more than a little, a pixel around it included.
bool Movimentado(const QImage& img, int x, int y)
{
    int menor = 255, maior = 0;
    for (int j = std::max(0, y - 1); j <= std::min(img.height() - 1, y + 2); ++j)
        for (int i = std::max(0, x - 1); i <= std::min(img.width() - 1, x + 2); ++i) {
            const int l = Luz(img.pixel(i, j));
            menor = std::min(menor, l);
            maior = std::max(maior, l);
        }
    return maior - menor > 24;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: zelpo_nitidez captura.png [x y largura altura]\n");
        return 2;
    }
    const QImage img = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    QRect area = img.rect();
    if (argc >= 6)
        area = QRect(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5])) & img.rect();
    long movimentados = 0, lisos = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            if (!Movimentado(img, x, y))
                continue;
            ++movimentados;
            const QRgb c = img.pixel(x, y);
            lisos += img.pixel(x + 1, y) == c && img.pixel(x, y + 1) == c && img.pixel(x + 1, y + 1) == c;
        }
    std::printf("%s: %ld busy 2x2 blocks, %.1f%% of one colour\n", argv[1], movimentados,
                movimentados ? 100.0 * lisos / movimentados : 0.0);
    return 0;
}
