#pragma once
// The large pictures that the picture benchmarks and the timing tool (tools/ver_figura.cpp)
// cut into pieces, written on the spot into a folder so that none of them lives in the
// tree: photos the size of a phone's, a run-length bitmap and a JPEG that declare far
// more than their bytes hold, a panorama bitmap, and a metafile of many ellipses drawn
// on a large box.

#include "../tests/core/figuras_de_teste.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace zelpo::entradas {

// The byte builders and the file writer are the picture tests' own.
using figuras_de_teste::Gravar;
using figuras_de_teste::Le;

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

inline QByteArray RegistroWmf(int funcao, const QByteArray& parametros)
{
    return Le<4>({3 + (parametros.size() + 1) / 2}) + Le<2>({funcao}) + parametros
           + QByteArray(parametros.size() % 2, '\0');
}

// A placeable metafile of the given records in a box of `lado` x `lado` units at 96
// units to the inch, so that its natural size is `lado` pixels.
inline QByteArray WmfPosicionavel(const QByteArray& registros, int lado, int objetos)
{
    const int soma = 0xCDD7 ^ 0x9AC6 ^ lado ^ lado ^ 96;
    const QByteArray corpo = registros + RegistroWmf(0, {});
    return Le<4>({0x9AC6CDD7}) + Le<2>({0, 0, 0, lado, lado, 96, 0, 0, soma}) + Le<2>({1, 9, 0x0300})
           + Le<4>({9 + corpo.size() / 2}) + Le<2>({objetos}) + Le<4>({64 * 1024}) + Le<2>({0}) + corpo;
}

// `quantas` filled ellipses with a black pen on an 8000 px box, eight brushes in turn.
inline QString WmfDeElipses(const QString& pasta, int quantas, int tamanhoMinimo = 200, const QString& nome = QStringLiteral("elipses"))
{
    constexpr int LADO = 8000, PINCEIS = 8;
    QByteArray registros = RegistroWmf(0x02FA, Le<2>({0, 3, 0, 0, 0})) + RegistroWmf(0x012D, Le<2>({0}));
    for (int i = 0; i < PINCEIS; ++i)
        registros += RegistroWmf(0x02FC, Le<2>({0, (i * 31) | ((255 - i * 29) << 8), (i * 53) % 256, 0}));
    Sorteio sorteio{88172645u};
    for (int i = 0; i < quantas; ++i) {
        if (i % (quantas / PINCEIS + 1) == 0)
            registros += RegistroWmf(0x012D, Le<2>({1 + i / (quantas / PINCEIS + 1)}));
        const int x = int(sorteio() % (LADO + 200 - tamanhoMinimo)), y = int(sorteio() % (LADO + 200 - tamanhoMinimo));
        const int w = tamanhoMinimo + int(sorteio() % 2800), h = tamanhoMinimo + int(sorteio() % 2800);
        registros += RegistroWmf(0x0418, Le<2>({y + h, x + w, y, x})); // bottom, right, top, left
    }
    const QString caminho = pasta + QStringLiteral("/%1.wmf").arg(nome);
    Gravar(caminho, WmfPosicionavel(registros, LADO, PINCEIS + 1));
    return caminho;
}

// Metafiles of about a megabyte built to cost as much drawing as their bytes can ask
// for: page-sized ellipses, polygons whose edges all cross, text in glyphs larger than
// the picture, clip regions cut into countless pieces between the shapes, and bitmaps
// whose few bytes paint millions of pixels.
inline QStringList MetarquivosHostis(const QString& pasta)
{
    constexpr int LADO = 8000, MEGA = 1 << 20;
    Sorteio sorteio{2654435761u};
    QStringList caminhos;
    caminhos << WmfDeElipses(pasta, MEGA / 14 - 20, 7000, QStringLiteral("hostil_elipses"));

    QByteArray poligonos = RegistroWmf(0x02FC, Le<2>({0, 0x00FF, 0, 0})) + RegistroWmf(0x012D, Le<2>({0}));
    while (poligonos.size() < MEGA) {
        QByteArray pontos = Le<2>({32000});
        for (int i = 0; i < 32000; ++i)
            pontos += Le<2>({sorteio() % LADO, sorteio() % LADO});
        poligonos += RegistroWmf(0x0324, pontos);
    }
    Gravar(pasta + QStringLiteral("/hostil_poligonos.wmf"), WmfPosicionavel(poligonos, LADO, 1));
    caminhos << pasta + QStringLiteral("/hostil_poligonos.wmf");

    QByteArray fonte = Le<2>({-30000, 0, 0, 0, 700}) + QByteArray(8, '\0') + "DejaVu Sans";
    QByteArray textos = RegistroWmf(0x02FB, fonte) + RegistroWmf(0x012D, Le<2>({0}));
    const QByteArray frase = QByteArray("WMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWM");
    while (textos.size() < MEGA)
        textos += RegistroWmf(0x0521, Le<2>({frase.size()}) + frase + Le<2>({sorteio() % LADO, sorteio() % LADO}));
    Gravar(pasta + QStringLiteral("/hostil_textos.wmf"), WmfPosicionavel(textos, LADO, 1));
    caminhos << pasta + QStringLiteral("/hostil_textos.wmf");

    QByteArray recortes = RegistroWmf(0x02FC, Le<2>({0, 0xFF00, 0, 0})) + RegistroWmf(0x012D, Le<2>({0}));
    while (recortes.size() < MEGA) {
        const int x = int(sorteio() % LADO), y = int(sorteio() % LADO);
        recortes += RegistroWmf(0x0415, Le<2>({y + 40, x + 40, y, x})); // EXCLUDECLIPRECT
        recortes += RegistroWmf(0x041B, Le<2>({LADO, LADO, 0, 0}));      // RECTANGLE over the box
    }
    Gravar(pasta + QStringLiteral("/hostil_recortes.wmf"), WmfPosicionavel(recortes, LADO, 1));
    caminhos << pasta + QStringLiteral("/hostil_recortes.wmf");

    // Run-length bitmaps of 60000 x 4000 whose runs paint row after row, stretched over the box.
    QByteArray bitmaps;
    while (bitmaps.size() < MEGA) {
        QByteArray codigos;
        while (codigos.size() < 100 * 1024) {
            for (int x = 0; x < 60000; x += 255)
                codigos += Le<1>({std::min(255, 60000 - x), sorteio() % 4});
            codigos += Le<1>({0, 0});
        }
        const QByteArray dib = Le<4>({40, 60000, 4000}) + Le<2>({1, 8}) + Le<4>({1, codigos.size(), 0, 0, 4, 0})
                               + Le<4>({0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}) + codigos + Le<1>({0, 1});
        bitmaps += RegistroWmf(0x0F43, Le<2>({0x0020, 0x00CC, 0, 0, 0, 0, 0, LADO, LADO, 0, 0}) + dib); // STRETCHDIB
    }
    Gravar(pasta + QStringLiteral("/hostil_bitmaps.wmf"), WmfPosicionavel(bitmaps, LADO, 0));
    caminhos << pasta + QStringLiteral("/hostil_bitmaps.wmf");

    // An enhanced metafile of page-sized ellipses and crossing polygons, one unit a pixel.
    QByteArray emf = Le<4>({39, 24, 1, 0, 0x0000FF, 0}) + Le<4>({37, 12, 1});
    int registros = 2;
    while (emf.size() < MEGA / 2) {
        emf += Le<4>({42, 24, int(sorteio() % 200), int(sorteio() % 200), 800 + int(sorteio() % 200), 800 + int(sorteio() % 200)});
        ++registros;
    }
    while (emf.size() < MEGA) {
        constexpr int PONTOS = 16000;
        emf += Le<4>({86, 28 + 4 * PONTOS, 0, 0, 999, 999, PONTOS});
        for (int i = 0; i < PONTOS; ++i)
            emf += Le<2>({sorteio() % 1000, sorteio() % 1000});
        ++registros;
    }
    const QByteArray fim = Le<4>({14, 20, 0, 16, 20});
    const qint64 total = 88 + emf.size() + fim.size();
    const QByteArray cabecalho = Le<4>({1, 88, 0, 0, 999, 999, 0, 0, 26458, 26458, 0x464D4520, 0x10000, total, registros + 2})
                                 + Le<2>({1, 0}) + Le<4>({0, 0, 0, 1000, 1000, 265, 265});
    Gravar(pasta + QStringLiteral("/hostil.emf"), cabecalho + emf + fim);
    caminhos << pasta + QStringLiteral("/hostil.emf");
    return caminhos;
}

} // namespace zelpo::entradas
