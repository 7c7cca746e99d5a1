#pragma once
// Pictures built to make a decoder spend as much memory or time as their bytes can ask
// for, written into a folder by the timing tool (tools/ver_figura.cpp) for
// bench/medir_figuras.sh: an EMF embedding forty large PNG bitmaps under empty bounds;
// icons of thousands of entries and of two huge PNG entries; a GIF whose screen is far
// larger than its one pixel; 16-bit, grey, TIFF and WebP pictures just under the sizes
// the readers accept; progressive JPEGs of hundreds of scans; a giant valid baseline
// JPEG; a run-length bitmap of the largest size, full of runs. Each generator writes its
// file once and returns its path.

#include "entradas_figuras.h"

#include <QImageWriter>

#include <cstdio> // jpeglib.h needs FILE
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace zelpo::entradas {

inline QByteArray CodificadaComo(const QImage& imagem, const char* formato, int compressao = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter escritor(&buffer, formato);
    if (compressao >= 0)
        escritor.setCompression(compressao);
    if (QByteArray(formato) == "png")
        escritor.setQuality(0); // the strongest compression

    escritor.write(imagem);
    return bytes;
}

inline QString Escrita(const QString& pasta, const QString& nome, const QByteArray& bytes)
{
    Gravar(pasta + QLatin1Char('/') + nome, bytes);
    return pasta + QLatin1Char('/') + nome;
}

// A grey JPEG of `lado` x `lado` written by libjpeg with the given scans (none: baseline).
inline QByteArray JpegCinza(int lado, const std::vector<jpeg_scan_info>& varreduras)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr erro{};
    info.err = jpeg_std_error(&erro);
    jpeg_create_compress(&info);
    unsigned char* saida = nullptr;
    unsigned long tamanho = 0;
    jpeg_mem_dest(&info, &saida, &tamanho);
    info.image_width = info.image_height = static_cast<JDIMENSION>(lado);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    if (!varreduras.empty()) {
        info.scan_info = varreduras.data();
        info.num_scans = static_cast<int>(varreduras.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> linha(static_cast<size_t>(lado));
    for (int y = 0; y < lado; ++y) {
        for (int x = 0; x < lado; ++x)
            linha[size_t(x)] = static_cast<JSAMPLE>(((x >> 6) ^ (y >> 6)) & 1 ? 200 : 60);
        JSAMPROW linhas[] = {linha.data()};
        jpeg_write_scanlines(&info, linhas, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(saida), static_cast<qsizetype>(tamanho));
    jpeg_destroy_compress(&info);
    std::free(saida);
    return bytes;
}

// The most scans one component allows: the DC coefficient bit by bit, then every AC
// coefficient in a band of its own, bit by bit.
inline std::vector<jpeg_scan_info> VarredurasDemais()
{
    constexpr int BITS = 10; // the largest point transform libjpeg takes for 8-bit samples
    std::vector<jpeg_scan_info> v;
    const auto varredura = [&v](int ss, int se, int ah, int al) {
        jpeg_scan_info s{};
        s.comps_in_scan = 1;
        s.Ss = ss, s.Se = se, s.Ah = ah, s.Al = al;
        v.push_back(s);
    };
    varredura(0, 0, 0, BITS);
    for (int al = BITS - 1; al >= 0; --al)
        varredura(0, 0, al + 1, al);
    for (int k = 1; k < DCTSIZE2; ++k) {
        varredura(k, k, 0, BITS);
        for (int al = BITS - 1; al >= 0; --al)
            varredura(k, k, al + 1, al);
    }
    return v;
}

// An EMF whose STRETCHDIBITS records each carry the same PNG of `lado` x `lado`, with
// empty bounds, so that nothing but the bitmaps themselves costs anything.
inline QByteArray EmfDePngs(int quantos, int lado)
{
    QImage cheia(lado, lado, QImage::Format_RGB32);
    cheia.fill(qRgb(30, 120, 200));
    const QByteArray png = CodificadaComo(cheia, "png");
    QByteArray registros;
    for (int i = 0; i < quantos; ++i) {
        const QByteArray cabecalho = Le<4>({40, lado, lado}) + Le<2>({1, 0}) + Le<4>({5, png.size(), 0, 0, 0, 0});
        const QByteArray corpo = Le<4>({0, 0, 0, 0, 0, 0, 0, 0, lado, lado, 80, 40, 120, png.size(), 0, 0x00CC0020,
                                        100, 100});
        QByteArray r = Le<4>({81, 8 + corpo.size() + cabecalho.size() + png.size()}) + corpo + cabecalho + png;
        r += QByteArray((4 - r.size() % 4) % 4, '\0');
        r.replace(4, 4, Le<4>({r.size()}));
        registros += r;
    }
    const QByteArray fim = Le<4>({14, 20, 0, 16, 20});
    const qint64 total = 88 + registros.size() + fim.size();
    const QByteArray cabecalho = Le<4>({1, 88, 0, 0, 999, 999, 0, 0, 26458, 26458, 0x464D4520, 0x10000, total, quantos + 2})
                                 + Le<2>({1, 0}) + Le<4>({0, 0, 0, 1000, 1000, 265, 265});
    return cabecalho + registros + fim;
}

// An icon directory of `entradas` entries that all point at the same image.
inline QByteArray IconeDe(int entradas, const QByteArray& imagem, int lado)
{
    const qint64 inicio = 6 + 16 * qint64(entradas);
    QByteArray b = Le<2>({0, 1, entradas});
    for (int i = 0; i < entradas; ++i)
        b += Le<1>({lado & 0xFF, lado & 0xFF, 0, 0}) + Le<2>({1, 32}) + Le<4>({imagem.size(), inicio});
    return b + imagem;
}

// A run-length bitmap of 65535 x 65535 whose every row is painted by runs of 255.
inline QByteArray RleCheio()
{
    constexpr int LADO = 65535;
    QByteArray linha;
    for (int x = 0; x < LADO; x += 255)
        linha += Le<1>({std::min(255, LADO - x), 1});
    linha += Le<1>({0, 0});
    const QByteArray codigos = linha.repeated(LADO) + Le<1>({0, 1});
    return figuras_de_teste::Bmp(LADO, LADO, 8, 1, figuras_de_teste::Paleta({0xFF204060, 0xFFC0A080}), codigos);
}

inline QStringList FigurasHostis(const QString& pasta)
{
    QStringList c;
    c << Escrita(pasta, QStringLiteral("emf_40_pngs.emf"), EmfDePngs(40, 5600));
    QImage pequena(256, 256, QImage::Format_ARGB32);
    pequena.fill(qRgba(200, 40, 40, 255));
    c << Escrita(pasta, QStringLiteral("icone_4000.ico"), IconeDe(4000, CodificadaComo(pequena, "png"), 256));
    QImage enorme(8000, 8000, QImage::Format_RGB32);
    enorme.fill(qRgb(20, 160, 90));
    const QByteArray pngEnorme = CodificadaComo(enorme, "png");
    c << Escrita(pasta, QStringLiteral("icone_2_png_8000.ico"), IconeDe(2, pngEnorme, 0));
    c << Escrita(pasta, QStringLiteral("tiff_8000.tif"), CodificadaComo(enorme, "tiff", 1));
    c << Escrita(pasta, QStringLiteral("webp_8000.webp"), CodificadaComo(enorme, "webp"));
    enorme = QImage();
    // a logical screen of 8191 x 8191 and one pixel of image
    c << Escrita(pasta, QStringLiteral("gif_tela_8191.gif"),
                 QByteArray("GIF89a") + Le<2>({8191, 8191}) + Le<1>({0x80, 0, 0, 0, 0, 0, 255, 255, 255})
                     + Le<1>({0x2C}) + Le<2>({0, 0, 1, 1}) + Le<1>({0, 2, 2, 0x44, 0x01, 0, 0x3B}));
    QImage funda(5700, 5700, QImage::Format_RGBA64);
    funda.fill(QColor(10, 90, 200, 255));
    c << Escrita(pasta, QStringLiteral("png16_5700.png"), CodificadaComo(funda, "png"));
    funda = QImage();
    QImage cinza(8191, 8191, QImage::Format_Grayscale8);
    cinza.fill(128);
    c << Escrita(pasta, QStringLiteral("cinza_8191.png"), CodificadaComo(cinza, "png"));
    c << Escrita(pasta, QStringLiteral("cinza_8191.tif"), CodificadaComo(cinza, "tiff", 1));
    cinza = QImage();
    c << Escrita(pasta, QStringLiteral("progressivo_6900.jpg"), JpegCinza(6900, VarredurasDemais()));
    c << Escrita(pasta, QStringLiteral("progressivo_4000.jpg"), JpegCinza(4000, VarredurasDemais()));
    c << Escrita(pasta, QStringLiteral("baseline_65500.jpg"), JpegCinza(65500, {}));
    c << Escrita(pasta, QStringLiteral("rle_cheio_65535.bmp"), RleCheio());
    return c;
}

} // namespace zelpo::entradas
