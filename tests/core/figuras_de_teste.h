#pragma once
// Picture files built byte by byte for the picture tests (test_figura.cpp,
// test_ajuste.cpp): bitmaps of every depth, icons, GIFs and metafile records, plus
// pictures painted pixel by pixel, pixels counted, decoded pictures compared, and a
// picture file loaded with its failure reported. Nothing here is a decoder: each builder
// writes the layout of its format as the format's documentation gives it. Also the plain
// file reading and writing that every test of files shares (the window tests too), a
// consistent game for the tests of saved games and a newly dealt one for the tests of play.
// It brings in GoogleTest and the Qt file headers every test of files uses.

#include "pictures/figura.h"
#include "play/novojogo.h"
#include "records/aleatorio.h"
#include "records/jogo.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>

namespace figuras_de_teste {

constexpr QRgb VERMELHO = 0xFFFF0000, VERDE = 0xFF00FF00, AZUL = 0xFF0000FF, BRANCO = 0xFFFFFFFF,
               PRETO = 0xFF000000, NADA = 0;

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
constexpr auto Bytes = &Le<1>, P16 = &Le<2>, P32 = &Le<4>;

inline QByteArray Trocar(QByteArray b, qint64 i, const QByteArray& novos) { return b.replace(i, novos.size(), novos); }

// A whole file, or nothing when it cannot be read.
inline QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file written whole, last changed `idade` seconds ago.
inline bool Gravar(const QString& caminho, const QByteArray& bytes, int idade = 0)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush()
           && f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-idade), QFileDevice::FileModificationTime);
}

// While it lives the desktop's cache tools (update-mime-database...) are not found: a
// registration starts them detached, and they would write into a test's temporary folder
// after it was removed, leaving it behind in /tmp on every run.
struct SemFerramentasDoDesktop {
    const QByteArray caminho = qgetenv("PATH");
    SemFerramentasDoDesktop() { qputenv("PATH", "/nenhuma/pasta"); }
    ~SemFerramentasDoDesktop() { qputenv("PATH", caminho); }
};

// A file of the source tree.
inline QByteArray Ler(const char* nome) { return Conteudo(QStringLiteral(ZELPO_FONTE) + QLatin1String(nome)); }

// A bitmap file with the 40-byte header (or the 12-byte OS/2 one), palette and rows as
// given; a negative height stores the rows top first.
inline QByteArray Bmp(int largura, int altura, int bits, int compressao, const QByteArray& paleta,
                      const QByteArray& pixels, bool os2 = false)
{
    const qint64 inicio = 14 + (os2 ? 12 : 40) + paleta.size();
    const QByteArray cabecalho = os2 ? P32({12}) + P16({largura, altura, 1, bits})
                                     : P32({40, largura, altura}) + P16({1, bits})
                                           + P32({compressao, pixels.size(), 2835, 2835, paleta.size() / 4, 0});
    return "BM" + P32({inicio + pixels.size(), 0, inicio}) + cabecalho + paleta + pixels;
}

// Blue, green, red and a fourth byte that OS/2 palettes lack.
inline QByteArray Paleta(std::initializer_list<QRgb> cores, bool os2 = false)
{
    QByteArray p;
    for (QRgb c : cores)
        p += Bytes({qBlue(c), qGreen(c), qRed(c)}).leftJustified(os2 ? 3 : 4, '\0');
    return p;
}

// An icon (or cursor) with one single-coloured 32-bit image for each side given.
inline QByteArray Icone(std::initializer_list<std::pair<int, QRgb>> imagens, int tipo = 1)
{
    QByteArray diretorio = P16({0, tipo, qint64(imagens.size())}), corpos;
    for (auto [lado, cor] : imagens) {
        const QByteArray corpo = P32({40, lado, 2 * lado}) + P16({1, 32}) + QByteArray(24, '\0')
                                 + P32({cor}).repeated(lado * lado) + QByteArray((lado + 31) / 32 * 4 * lado, '\0');
        diretorio += Bytes({lado, lado, 0, 0}) + P16({1, 32})
                     + P32({corpo.size(), 6 + 16 * qint64(imagens.size()) + corpos.size()});
        corpos += corpo;
    }
    return diretorio + corpos;
}

// One pixel of colour 0 on a screen of the given size.
inline QByteArray Gif(int largura, int altura)
{
    return "GIF89a" + P16({largura, altura}) + Bytes({0x80, 0, 0, 255, 0, 0, 255, 255, 255})
           + Bytes({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B});
}

// A 4 x 2 run-length bitmap of four bits: a run, an end of line, an absolute run, the end.
inline const QByteArray RLE4 =
    Bmp(4, 2, 4, 2, Paleta({VERMELHO, VERDE, AZUL}), Bytes({3, 0x12, 0, 0, /**/ 0, 3, 0x01, 0x20, 0, 1}));

// Metafile records: size in words, function, parameters.
inline QByteArray Reg(int funcao, const QByteArray& p)
{
    return P32({3 + (p.size() + 1) / 2}) + P16({funcao}) + p + QByteArray(p.size() % 2, '\0');
}
inline QByteArray Reg(int funcao, std::initializer_list<qint64> palavras) { return Reg(funcao, P16(palavras)); }
inline QByteArray Cor(int funcao, QRgb c) { return Reg(funcao, {qRed(c) | (qGreen(c) << 8), qBlue(c)}); }
inline QByteArray Caneta(int estilo, QRgb c) { return Reg(0x02FA, {estilo, 0, 0, qRed(c) | (qGreen(c) << 8), qBlue(c)}); }
inline QByteArray Pincel(int estilo, QRgb c) { return Reg(0x02FC, {estilo, qRed(c) | (qGreen(c) << 8), qBlue(c), 0}); }
inline QByteArray Sel(int i) { return Reg(0x012D, {i}); }
inline QByteArray Caixa(int funcao, QRect r) { return Reg(funcao, {r.bottom(), r.right(), r.top(), r.left()}); }
// A null pen in slot 0 and a solid brush in slot 1, both selected.
inline QByteArray SoPreenchimento(QRgb cor) { return Caneta(5, 0) + Pincel(0, cor) + Sel(0) + Sel(1); }
constexpr int ELLIPSE = 0x0418, RECTANGLE = 0x041B, POLYGON = 0x0324;
const QRect QUADRADO(QPoint(10, 10), QPoint(90, 90));

// With a placeable header of the given box (by default 100 x 100 at one unit to the
// pixel), or none.
inline QByteArray Wmf(const QByteArray& registros, std::optional<QRect> caixa = QRect(0, 0, 101, 101),
                      int porPolegada = 96)
{
    QByteArray b;
    if (caixa) {
        const auto [e, t, d, f] = std::tuple(caixa->left(), caixa->top(), caixa->right(), caixa->bottom());
        const int soma = 0xCDD7 ^ 0x9AC6 ^ e ^ t ^ d ^ f ^ porPolegada; // XOR of the words before it
        b = P32({0x9AC6CDD7}) + P16({0, e, t, d, f, porPolegada, 0, 0, soma});
    }
    const QByteArray corpo = registros + Reg(0, {});
    return b + P16({1, 9, 0x0300}) + P32({9 + corpo.size() / 2}) + P16({8}) + P32({64}) + P16({0}) + corpo;
}

// A picture encoded in a format Qt writes, or nothing when it cannot be.
inline QByteArray Codificar(const QImage& imagem, const char* formato, int qualidade = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && imagem.save(&buffer, formato, qualidade) ? bytes : QByteArray();
}

// The largest difference of any channel, alpha included; more than any (256) when the
// sizes differ. ARGB32 rows have no padding, and each byte of a pixel is one channel.
inline int DiferencaMaxima(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    int maior = 0;
    for (qsizetype i = 0; i < x.sizeInBytes(); ++i)
        maior = std::max(maior, std::abs(int(x.constBits()[i]) - int(y.constBits()[i])));
    return maior;
}

// A picture whose pixel (x, y) is cor(x, y), set row by row.
template <class F>
QImage Pintada(int largura, int altura, F cor, QImage::Format formato = QImage::Format_ARGB32)
{
    QImage imagem(largura, altura, formato);
    for (int y = 0; y < altura; ++y)
        for (int x = 0; x < largura; ++x)
            imagem.setPixel(x, y, cor(x, y));
    return imagem;
}

// How many pixels of the picture `conta` is true of.
template <class F>
int Contar(const QImage& imagem, F conta)
{
    int n = 0;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            n += conta(imagem.pixel(x, y)) ? 1 : 0;
    return n;
}

// A picture file decoded as the board keeps it (by default at its own size, when that is
// under 4096 px); after a failure, which fails the test, an empty picture.
inline zelpo::Figura Carregada(const QByteArray& arquivo, const zelpo::Ajuste& ajuste = {4096, true})
{
    zelpo::ResultadoFigura r = zelpo::CarregarFiguraDeBytes(arquivo, ajuste);
    EXPECT_TRUE(r.figura) << r.erro.toStdString();
    return r.figura.value_or(zelpo::Figura{});
}

// A consistent game: inner edges spread over codes 1..52, the deal a fixed shuffle whose
// first `encaixadas` pieces are placed and the others left in the tray in deal order.
// The rules from grid coordinates alone, for the tests to compare the game with: where a
// piece's picture stands once placed (normal pieces 64 px apart, small ones 42), and
// whether a placed piece lies in a cell at most one row and one column away.
inline QPoint LugarNaGrade(const zelpo::JogoSalvo& j, int peca)
{
    const int passo = j.Pequenas ? 42 : 64;
    return QPoint(j.EsquerdaTabuleiro + peca % j.Colunas * passo, j.TopoTabuleiro + peca / j.Colunas * passo);
}

inline bool TemVizinhaColocada(const zelpo::JogoSalvo& j, int peca)
{
    for (int q = 0; q < j.Colunas * j.Linhas; ++q)
        if (j.Partes[q].Encaixada != zelpo::FALSO && std::abs(q % j.Colunas - peca % j.Colunas) <= 1
            && std::abs(q / j.Colunas - peca / j.Colunas) <= 1)
            return true;
    return false;
}

inline zelpo::JogoSalvo JogoValido(int colunas, int linhas, bool pequenas, int encaixadas)
{
    zelpo::JogoSalvo j;
    j.Colunas = int16_t(colunas);
    j.Linhas = int16_t(linhas);
    static_cast<zelpo::OpcoesJogo&>(j) = {3, pequenas, false}; // hard, cropped
    const int n = colunas * linhas;
    for (int i = 0; i < n; ++i) {
        zelpo::Parte& p = j.Partes[i];
        p.Coluna = int16_t(i % colunas);
        p.Linha = int16_t(i / colunas);
        if (p.Coluna + 1 < colunas)
            p.Direita = j.Partes[i + 1].Esquerda = int16_t(1 + (i * 11 + n) % 52);
        if (p.Linha + 1 < linhas)
            p.Baixo = j.Partes[i + colunas].Cima = int16_t(1 + (i * 17 + 3) % 52);
        const auto peca = int16_t((i * 7 + 3) % n); // no grid holds a multiple of 7 pieces
        j.PartesRolagemInicio[i] = peca;
        if (i < encaixadas)
            j.Partes[peca].Encaixada = zelpo::VERDADEIRO;
        else
            j.PartesRolagem[i - encaixadas] = peca;
    }
    j.PartesNaRolagem = int16_t(n - encaixadas);
    j.TopoTabuleiro = 23;
    j.EsquerdaTabuleiro = 187;
    j.BytesFigura = QByteArray("\x01\x80\xFF\x00\x7F", 5).repeated(60);
    j.PartesIniciais = 1;
    j.SegundosJogo = 3725;
    return j;
}

// A new game as forming a puzzle deals it: edges and tray from the seed, the starting
// pieces of its difficulty, the board's top-left corner at `tabuleiro`.
inline zelpo::JogoSalvo JogoNovo(int colunas, int linhas, int dificuldade, uint64_t semente, QPoint tabuleiro = {})
{
    zelpo::JogoSalvo j;
    j.Colunas = int16_t(colunas);
    j.Linhas = int16_t(linhas);
    j.Dificuldade = int16_t(dificuldade);
    j.PartesIniciais = zelpo::PartesIniciaisPara(dificuldade);
    j.EsquerdaTabuleiro = tabuleiro.x();
    j.TopoTabuleiro = tabuleiro.y();
    zelpo::Aleatorio rnd(semente);
    zelpo::FormarEstado(j, rnd);
    return j;
}

} // namespace figuras_de_teste
