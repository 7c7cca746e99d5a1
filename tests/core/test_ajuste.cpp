// Decoding only what the board keeps must give the pieces that decoding the whole
// picture and then cropping or shrinking it gave: the same pixels for a crop, and for a
// shrink the pixels of QImage::scaled(..., Qt::SmoothTransformation) of the whole.
#include "figuras_de_teste.h"
#include "pictures/ajuste.h"

#include <QImageReader>
#include <QImageWriter>

#include <array>
#include <bit>
#include <random>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

const Ajuste REDUZIR{384, true}, REDUZIR_PEQUENAS{378, true}, CORTAR{384, false};

// Random colours; with alpha, one pixel in eight transparent.
QImage Aleatoria(int w, int h, bool alfa, uint32_t semente)
{
    std::mt19937 gerador(semente);
    return Pintada(w, h, [&](int, int) {
        const uint32_t v = gerador();
        return !alfa ? v | 0xFF000000u : (v % 8 == 0 ? 0u : v);
    });
}

QImage PeloQt(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader leitor(&buffer);
    leitor.setAutoTransform(false);
    return leitor.read().convertToFormat(QImage::Format_ARGB32);
}

// The stored rows of an ARGB32 picture in a bitmap of the given depth: indices into
// `paleta` by the low bits of each pixel for 1 to 8 bits, 555 for 16, blue-green-red
// (the word's low bytes) for 24, and 32-bit words through the fields or as they are.
QByteArray Linhas(const QImage& f, int bits, bool deCima, const std::array<quint32, 4>& campos = {})
{
    const int porLinha = (f.width() * bits + 31) / 32 * 4;
    QByteArray dados(porLinha * f.height(), '\0');
    for (int y = 0; y < f.height(); ++y) {
        uchar* l = reinterpret_cast<uchar*>(dados.data()) + porLinha * (deCima ? y : f.height() - 1 - y);
        for (int x = 0; x < f.width(); ++x) {
            const QRgb c = f.pixel(x, y);
            // an eight-bit value widened to its field (of eight bits or more)
            const auto campo = [&](int i, int valor) {
                if (campos[i] == 0)
                    return quint32(0);
                const quint32 v = quint32(valor) << (std::popcount(campos[i]) - 8);
                return (v << std::countr_zero(campos[i])) & campos[i];
            };
            if (bits <= 8) {
                l[x * bits / 8] |= uchar((c & ((1 << bits) - 1)) << (8 - bits - (x * bits) % 8));
            } else {
                const quint32 v = campos[0] ? campo(0, qRed(c)) | campo(1, qGreen(c)) | campo(2, qBlue(c)) | campo(3, qAlpha(c))
                                            : (bits == 16 ? quint32(c & 0x7FFF) : c);
                for (int i = 0; i < bits / 8; ++i)
                    l[x * bits / 8 + i] = uchar(v >> (8 * i));
            }
        }
    }
    return dados;
}

// A bitmap with the 108-byte header, whose bit fields include alpha.
QByteArray BmpComAlfa(const QImage& f)
{
    const std::array<quint32, 4> campos{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    const QByteArray pixels = Linhas(f, 32, false, campos);
    const QByteArray cabecalho = P32({108, f.width(), f.height()}) + P16({1, 32})
                                 + P32({3, pixels.size(), 2835, 2835, 0, 0, campos[0], campos[1], campos[2], campos[3],
                                        0x73524742})
                                 + QByteArray(48, '\0');
    return "BM" + P32({14 + 108 + pixels.size(), 0, 14 + 108}) + cabecalho + pixels;
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
        {3000, 7, REDUZIR, true, true, false},           // 384 x 1
        {1, 1000, REDUZIR_PEQUENAS, false, false, false}, // 1 x 378, one column kept as it is
        {800, 600, CORTAR, true, true, true}, {200, 100, CORTAR, false, false, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " S=" << c.ajuste.lado << (c.ajuste.reduzir ? " reduzir" : ""));
        const QImage figura = Aleatoria(c.w, c.h, c.alfa, uint32_t(c.w * 31 + c.h));
        const int x0 = c.parcial ? c.w / 3 : 0, x1 = c.parcial ? 2 * c.w / 3 + 1 : c.w;
        const std::unique_ptr<ReceptorDeLinhas> receptor = NovoReceptor(figura.size(), c.ajuste);
        ASSERT_TRUE(receptor);
        for (int i = 0; i < c.h; ++i) {
            const int y = c.deBaixo ? c.h - 1 - i : i;
            if (receptor->PrecisaDaLinha(y))
                receptor->Receber(y, reinterpret_cast<const QRgb*>(figura.constScanLine(y)), x0, x1);
        }
        const QImage dada = Pintada(c.w, c.h, [&](int x, int y) { return x >= x0 && x < x1 ? figura.pixel(x, y) : 0u; });
        EXPECT_EQ(DiferencaMaxima(receptor->Resultado(), AjustarImagem(dada, c.ajuste)), 0);
    }
}

// Every depth and layout of bitmap, decoded a row at a time, gives what Qt's reader
// gives, cropped or shrunk as before.
TEST(Ajuste, BitmapsComoOLeitorDoQt)
{
    const QImage foto = Aleatoria(1200, 900, false, 7);
    QByteArray paleta;
    for (int i = 0; i < 256; ++i)
        paleta += P32({(i * 0x9E3779B1u) & 0xFFFFFF});
    const std::array<quint32, 4> campos10{0x3FF00000, 0x000FFC00, 0x000003FF, 0};
    const std::pair<const char*, QByteArray> casos[] = {
        {"1 bit", Bmp(1200, 900, 1, 0, paleta.left(8), Linhas(foto, 1, false))},
        {"4 bits", Bmp(1200, 900, 4, 0, paleta.left(64), Linhas(foto, 4, false))},
        {"8 bits", Bmp(1200, 900, 8, 0, paleta, Linhas(foto, 8, false))},
        {"16 bits 555", Bmp(1200, 900, 16, 0, {}, Linhas(foto, 16, false))},
        {"24 bits", Bmp(1200, 900, 24, 0, {}, Linhas(foto, 24, false))},
        {"24 bits de cima para baixo", Bmp(1200, -900, 24, 0, {}, Linhas(foto, 24, true))},
        {"32 bits", Bmp(1200, 900, 32, 0, {}, Linhas(foto, 32, false))},
        {"32 bits com alfa", BmpComAlfa(Aleatoria(1200, 900, true, 8))},
        {"OS/2", Bmp(1200, 900, 24, 0, {}, Linhas(foto, 24, false), true)},
    };
    for (const auto& [nome, bytes] : casos) {
        SCOPED_TRACE(nome);
        const QImage inteira = PeloQt(bytes);
        ASSERT_EQ(inteira.size(), QSize(1200, 900));
        for (const Ajuste ajuste : {REDUZIR, CORTAR, Ajuste{4096, true}}) {
            const Figura f = Carregada(bytes, ajuste);
            EXPECT_EQ(f.natural, QSize(1200, 900));
            EXPECT_EQ(DiferencaMaxima(f.imagem, AjustarImagem(inteira, ajuste)), 0) << ajuste.lado;
        }
    }
    // Qt turns channels wider than eight bits black; here they keep their top bits.
    const QByteArray dez = Bmp(1200, 900, 32, 3, P32({campos10[0], campos10[1], campos10[2]}),
                               Linhas(foto, 32, false, campos10));
    EXPECT_EQ(DiferencaMaxima(Carregada(dez).imagem, foto), 0);
}

// The game's photos, enlarged to a phone's kind of size and saved as JPEG: decoded a row
// at a time they give the pieces of the whole decode, the crop exactly and the shrink
// within two levels. At their own size (a mild shrink for small pieces) they go the way
// they always went.
TEST(Ajuste, FotosComoOLeitorDoQt)
{
    QStringList fotos;
    for (const char* pasta : {"Facil", "Medio", "Dificil"})
        for (const QFileInfo& f : QDir(QStringLiteral(ZELPO_FONTE "/pictures/") + QLatin1String(pasta)).entryInfoList({"*.jpg"}))
            fotos << f.filePath();
    ASSERT_GE(fotos.size(), 10);
    for (const QString& caminho : fotos) {
        SCOPED_TRACE(caminho.toStdString());
        const QByteArray propria = figuras_de_teste::Conteudo(caminho);
        QImage grande = PeloQt(propria);
        grande = grande.scaled(grande.size() * 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (caminho.endsWith(QLatin1String("gris.jpg"))) // grey photos come back grey
            grande = grande.convertToFormat(QImage::Format_Grayscale8);
        const QByteArray jpeg = Codificar(grande, "jpeg", 90);
        const struct { QByteArray bytes; Ajuste ajuste; int tolerancia; } casos[] = {
            {jpeg, REDUZIR, 2}, {jpeg, REDUZIR_PEQUENAS, 2}, {jpeg, CORTAR, 0}, {propria, REDUZIR_PEQUENAS, 0}};
        for (const auto& c : casos) {
            const QImage inteira = AjustarImagem(PeloQt(c.bytes), c.ajuste);
            EXPECT_LE(DiferencaMaxima(Carregada(c.bytes, c.ajuste).imagem, inteira), c.tolerancia)
                << c.ajuste.lado << (c.ajuste.reduzir ? " reduzir" : " cortar");
        }
    }
}

// Pictures whose whole decode would take hundreds of megabytes take a few: the process's
// high-water mark (reset before each load) grows by little.
TEST(Ajuste, FigurasEnormesEmPoucaMemoria)
{
    QFile limpar(QStringLiteral("/proc/self/clear_refs"));
    if (!limpar.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "the kernel's high-water mark cannot be reset here";
    const auto memoria = [](const char* campo) { // in bytes; the file gives kB
        const QByteArray estado = figuras_de_teste::Conteudo(QStringLiteral("/proc/self/status"));
        const qsizetype i = estado.indexOf(campo) + qsizetype(qstrlen(campo));
        return estado.mid(i, estado.indexOf('\n', i) - i).trimmed().split(' ').value(0).toLongLong() * 1024;
    };
    // 8192 x 4096 at one bit a pixel: 4 MB of file, 128 MB decoded whole.
    QByteArray umBit = Bmp(8192, 4096, 1, 0, Paleta({PRETO, BRANCO}), QByteArray(8192 / 8 * 4096, '\x5A'));
    // 16384 x 4096 run-length codes: a run across every 64th row, the rows between skipped.
    QByteArray rle;
    for (int y = 0; y < 4096; y += 64) {
        for (int x = 0; x < 16384; x += 255)
            rle += Bytes({std::min(255, 16384 - x), (x / 255) % 3});
        rle += Bytes({0, 0, 0, 2, 0, 63});
    }
    const QByteArray rle8 = Bmp(16384, 4096, 8, 1, Paleta({VERMELHO, VERDE, AZUL}), rle + Bytes({0, 1}));
    // An 8 x 8 JPEG whose frame claims 8192 x 4096: the rest is filled with grey.
    QByteArray jpeg = Codificar(Aleatoria(8, 8, false, 3), "jpeg", 75);
    const qsizetype quadro = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(quadro, 0);
    jpeg = Trocar(jpeg, quadro + 5, Bytes({4096 >> 8, 0, 8192 >> 8, 0}));
    const std::pair<const char*, const QByteArray*> casos[] = {{"BMP de 1 bit", &umBit}, {"RLE8", &rle8}, {"JPEG", &jpeg}};
    for (const auto& [nome, bytes] : casos) {
        for (const Ajuste ajuste : {REDUZIR, CORTAR}) {
            SCOPED_TRACE(testing::Message() << nome << (ajuste.reduzir ? " reduzido" : " cortado"));
            ASSERT_TRUE(limpar.write("5") == 1 && limpar.flush());
            const qint64 antes = memoria("VmRSS:");
            const Figura f = Carregada(*bytes, ajuste);
            const qint64 pico = memoria("VmHWM:");
            EXPECT_EQ(f.imagem.size(), TamanhoAjustado(f.natural, ajuste));
            EXPECT_LT(pico - antes, 48LL << 20) << (pico - antes) / (1 << 20) << " MB"; // at most 48 MB more
        }
    }
}

// WebP and TIFF come through Qt's image format plugins, told by their content.
TEST(Ajuste, WebPETiffPelosPlugins)
{
    const QImage foto = QImage(QStringLiteral(ZELPO_FONTE "/pictures/Medio/abeja.jpg"))
                            .convertToFormat(QImage::Format_ARGB32)
                            .scaled(1000, 750);
    for (const char* formato : {"webp", "tiff"}) {
        SCOPED_TRACE(formato);
        if (!QImageWriter::supportedImageFormats().contains(formato))
            GTEST_SKIP() << formato << ": qt6-image-formats-plugins is not installed";
        const QByteArray bytes = Codificar(foto, formato, 100); // lossless WebP
        EXPECT_EQ(DiferencaMaxima(Carregada(bytes, REDUZIR).imagem, AjustarImagem(foto, REDUZIR)), 0);
        const ResultadoFigura cortado = CarregarFiguraDeBytes(bytes.left(bytes.size() / 2), CORTAR);
        EXPECT_FALSE(cortado.figura);
        EXPECT_EQ(cortado.erro, QString::fromUtf8(ERRO_CORROMPIDO));
    }
}
