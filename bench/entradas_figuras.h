#pragma once
// The large pictures that the picture benchmarks and the timing tool (tools/ver_figura.cpp)
// cut into pieces, written on the spot into a folder so that none of them lives in the
// tree: photos the size of a phone's, a run-length bitmap and a JPEG that declare far
// more than their bytes hold, a panorama bitmap, and a metafile of many ellipses drawn
// on a large box.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace zelpo::entradas {

// Little-endian integers of N bytes each.
template <int N>
QByteArray Le(std::initializer_list<qint64> valores)
{
    QByteArray b;
    for (qint64 v : valores)
        for (int i = 0; i < N; ++i)
            b += char(v >> (8 * i));
    return b;
}

inline bool Gravar(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A cheap generator with the same sequence everywhere.
struct Sorteio {
    uint32_t estado;
    uint32_t operator()()
    {
        estado ^= estado << 13;
        estado ^= estado >> 17;
        estado ^= estado << 5;
        return estado;
    }
};

// One of the game's photos blown up to the given size, with the grain of a phone's
// sensor so that the file is as large as a real photo of that size.
inline QString FotoGrande(const QString& pasta, QSize tamanho, const QString& origem)
{
    const QString caminho = pasta + QStringLiteral("/foto_%1x%2.jpg").arg(tamanho.width()).arg(tamanho.height());
    if (QFile::exists(caminho))
        return caminho;
    QImage foto = QImage(origem).convertToFormat(QImage::Format_RGB32)
                      .scaled(tamanho, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Sorteio sorteio{2463534242u};
    for (int y = 0; y < foto.height(); ++y) {
        QRgb* linha = reinterpret_cast<QRgb*>(foto.scanLine(y));
        for (int x = 0; x < foto.width(); ++x) {
            const int d = int(sorteio() % 17) - 8;
            const QRgb c = linha[x];
            linha[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                            std::clamp(qBlue(c) + d, 0, 255));
        }
    }
    foto.save(caminho, "JPG", 90);
    return caminho;
}

// 16384 x 4096 pixels in about a kilobyte: a few rows of runs across the whole width,
// the rows between them skipped with delta escapes.
inline QString RleEnorme(const QString& pasta)
{
    constexpr int LARGURA = 16384, ALTURA = 4096, PASSO = 700;
    QByteArray pixels;
    for (int y = 0; y < ALTURA; y += PASSO) {
        for (int x = 0; x < LARGURA; x += 255)
            pixels += Le<1>({std::min(255, LARGURA - x), (x / 255 + y / PASSO) % 4});
        pixels += Le<1>({0, 0});
        for (int falta = std::min(PASSO - 1, ALTURA - 1 - y); falta > 0; falta -= std::min(falta, 255))
            pixels += Le<1>({0, 2, 0, std::min(falta, 255)});
    }
    pixels += Le<1>({0, 1});
    const QByteArray paleta = Le<4>({0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF});
    const qint64 inicio = 14 + 40 + paleta.size();
    const QByteArray arquivo = "BM" + Le<4>({inicio + pixels.size(), 0, inicio}) + Le<4>({40, LARGURA, ALTURA})
                               + Le<2>({1, 8}) + Le<4>({1, pixels.size(), 2835, 2835, 4, 0}) + paleta + pixels;
    const QString caminho = pasta + QStringLiteral("/enorme.rle");
    Gravar(caminho, arquivo);
    return caminho;
}

// An 8 x 8 JPEG whose frame header claims 16384 x 4096: the decoder fills what the
// scan lacks with grey.
inline QString JpegQueDeclaraDemais(const QString& pasta)
{
    QImage pequena(8, 8, QImage::Format_RGB32);
    pequena.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pequena.save(&buffer, "JPG", 75);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof >= 0) {
        // height and width, big-endian, after the length and the precision
        bytes[sof + 5] = char(4096 >> 8), bytes[sof + 6] = char(4096 & 0xFF);
        bytes[sof + 7] = char(16384 >> 8), bytes[sof + 8] = char(16384 & 0xFF);
    }
    const QString caminho = pasta + QStringLiteral("/declara_demais.jpg");
    Gravar(caminho, bytes);
    return caminho;
}

// A 24-bit bitmap of 20000 x 300: a horizon of colour bands.
inline QString Panorama(const QString& pasta)
{
    QImage imagem(20000, 300, QImage::Format_RGB32);
    QPainter p(&imagem);
    for (int x = 0; x < imagem.width(); x += 500)
        p.fillRect(x, 0, 500, 300, QColor::fromHsv((x / 500 * 37) % 360, 160, 220));
    p.fillRect(0, 200, imagem.width(), 100, QColor(40, 110, 30));
    p.end();
    const QString caminho = pasta + QStringLiteral("/panorama.bmp");
    imagem.save(caminho, "BMP");
    return caminho;
}

// A placeable metafile of `quantas` filled ellipses in a box of 8000 x 8000 units at 96
// units to the inch, so that its natural size is 8000 x 8000 pixels.
inline QString WmfDeElipses(const QString& pasta, int quantas)
{
    constexpr int LADO = 8000;
    const auto reg = [](int funcao, std::initializer_list<qint64> palavras) {
        return Le<4>({3 + qint64(palavras.size())}) + Le<2>({funcao}) + Le<2>(palavras);
    };
    QByteArray registros = reg(0x02FA, {0, 3, 0, 0, 0}) + reg(0x012D, {0}); // black pen, 3 units wide
    constexpr int PINCEIS = 8;
    for (int i = 0; i < PINCEIS; ++i)
        registros += reg(0x02FC, {0, (i * 31) | ((255 - i * 29) << 8), (i * 53) % 256, 0});
    Sorteio sorteio{88172645u};
    for (int i = 0; i < quantas; ++i) {
        if (i % (quantas / PINCEIS + 1) == 0)
            registros += reg(0x012D, {1 + i / (quantas / PINCEIS + 1)});
        const int x = int(sorteio() % LADO), y = int(sorteio() % LADO);
        const int w = 200 + int(sorteio() % 2800), h = 200 + int(sorteio() % 2800);
        registros += reg(0x0418, {y + h, x + w, y, x}); // bottom, right, top, left
    }
    registros += reg(0, {});
    const int soma = 0xCDD7 ^ 0x9AC6 ^ LADO ^ LADO ^ 96;
    const QByteArray arquivo = Le<4>({0x9AC6CDD7}) + Le<2>({0, 0, 0, LADO, LADO, 96, 0, 0, soma})
                               + Le<2>({1, 9, 0x0300}) + Le<4>({9 + registros.size() / 2}) + Le<2>({PINCEIS + 1})
                               + Le<4>({8}) + Le<2>({0}) + registros;
    const QString caminho = pasta + QStringLiteral("/elipses.wmf");
    Gravar(caminho, arquivo);
    return caminho;
}

} // namespace zelpo::entradas
