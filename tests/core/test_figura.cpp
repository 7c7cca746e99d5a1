#include "pieces/figura.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelpo;

namespace {

const QString FONTE = QStringLiteral(ZELPO_FONTE);

void U16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void U32(QByteArray& b, qint64 v)
{
    U16(b, int(v & 0xFFFF));
    U16(b, int((v >> 16) & 0xFFFF));
}

QByteArray Ler(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A bitmap file: the BITMAPINFOHEADER (or the 12-byte OS/2 one), the palette as given
// and the pixel rows as given.
QByteArray Bmp(int largura, int altura, int bits, quint32 compressao, const QByteArray& paleta,
               const QByteArray& pixels, bool os2 = false)
{
    const int cabecalho = os2 ? 12 : 40;
    QByteArray b("BM");
    U32(b, 14 + cabecalho + paleta.size() + pixels.size());
    U32(b, 0);
    U32(b, 14 + cabecalho + paleta.size());
    U32(b, cabecalho);
    if (os2) {
        U16(b, largura), U16(b, altura), U16(b, 1), U16(b, bits);
    } else {
        U32(b, largura), U32(b, altura), U16(b, 1), U16(b, bits);
        U32(b, compressao), U32(b, pixels.size()), U32(b, 2835), U32(b, 2835), U32(b, paleta.size() / 4), U32(b, 0);
    }
    return b + paleta + pixels;
}

constexpr QRgb VERMELHO = 0xFFFF0000, VERDE = 0xFF00FF00, AZUL = 0xFF0000FF, BRANCO = 0xFFFFFFFF,
               PRETO = 0xFF000000, TRANSPARENTE = 0;

// Palette entries are blue, green, red and a fourth byte (absent in OS/2 palettes).
QByteArray Paleta(std::initializer_list<QRgb> cores, bool os2 = false)
{
    QByteArray p;
    for (QRgb c : cores) {
        p.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        if (!os2) {
            p.append('\0');
        }
    }
    return p;
}

QByteArray Bytes(std::initializer_list<int> valores)
{
    QByteArray b;
    for (int v : valores) {
        b.append(char(v));
    }
    return b;
}

void EsperarPixels(const QImage& imagem, const std::vector<std::vector<QRgb>>& linhas)
{
    ASSERT_EQ(imagem.format(), QImage::Format_ARGB32);
    ASSERT_EQ(imagem.height(), int(linhas.size()));
    for (int y = 0; y < imagem.height(); ++y) {
        ASSERT_EQ(imagem.width(), int(linhas[y].size()));
        for (int x = 0; x < imagem.width(); ++x) {
            EXPECT_EQ(imagem.pixel(x, y), linhas[y][x]) << "pixel " << x << "," << y;
        }
    }
}

// A 4 x 3 RLE8 picture: a run and an early end of line, an absolute run, a delta; the
// pixels it skips must come out transparent.
QByteArray Rle8()
{
    const QByteArray dados = Bytes({2, 0, 0, 0,                   // bottom row: two red, end of line
                                    0, 3, 1, 2, 1, 0, 0, 0,       // green blue green (padded)
                                    0, 2, 2, 0, 1, 2, 0, 1});     // skip two, one blue, end
    return Bmp(4, 3, 8, 1, Paleta({VERMELHO, VERDE, AZUL}), dados);
}

QByteArray Rle4()
{
    const QByteArray dados = Bytes({3, 0x12, 0, 0,                // green blue green
                                    0, 3, 0x01, 0x20, 0, 1});     // red green blue, end
    return Bmp(4, 2, 4, 2, Paleta({VERMELHO, VERDE, AZUL}), dados);
}

// An icon (or cursor) with one 32-bit bitmap of one colour for each side given.
QByteArray Icone(std::initializer_list<std::pair<int, QRgb>> imagens, int tipo = 1)
{
    QByteArray diretorio, corpos;
    U16(diretorio, 0), U16(diretorio, tipo), U16(diretorio, int(imagens.size()));
    const int inicio = 6 + 16 * int(imagens.size());
    for (auto [lado, cor] : imagens) {
        QByteArray corpo;
        U32(corpo, 40), U32(corpo, lado), U32(corpo, 2 * lado), U16(corpo, 1), U16(corpo, 32);
        for (int i = 0; i < 6; ++i) {
            U32(corpo, 0);
        }
        for (int i = 0; i < lado * lado; ++i) {
            U32(corpo, cor);
        }
        corpo.append(QByteArray((lado + 31) / 32 * 4 * lado, '\0')); // AND mask
        diretorio.append(char(lado)).append(char(lado)).append('\0').append('\0');
        U16(diretorio, 1), U16(diretorio, 32), U32(diretorio, corpo.size()), U32(diretorio, inicio + corpos.size());
        corpos += corpo;
    }
    return diretorio + corpos;
}

// The smallest GIF: one pixel of colour 0 on a screen of the given size.
QByteArray Gif(int largura, int altura)
{
    QByteArray b("GIF89a");
    U16(b, largura), U16(b, altura);
    b += Bytes({0x80, 0, 0, 255, 0, 0, 255, 255, 255});
    b += Bytes({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B});
    return b;
}

QByteArray ComBytesTrocados(QByteArray b, qint64 posicao, std::initializer_list<int> valores)
{
    for (int v : valores) {
        b[posicao++] = char(v);
    }
    return b;
}

} // namespace

TEST(Figura, BitmapsDeTodasAsProfundidadesNoTamanhoProprio)
{
    const QByteArray pad2(2, '\0');
    struct Caso {
        const char* nome;
        QByteArray arquivo;
        std::vector<std::vector<QRgb>> esperado;
    };
    const std::vector<std::vector<QRgb>> quatroCores{{VERMELHO, VERDE}, {AZUL, BRANCO}};
    const Caso casos[] = {
        {"1 bit", Bmp(2, 2, 1, 0, Paleta({PRETO, BRANCO}), Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0})),
         {{BRANCO, PRETO}, {PRETO, BRANCO}}},
        {"4 bits", Bmp(2, 2, 4, 0, Paleta({VERMELHO, VERDE, AZUL, BRANCO}), Bytes({0x23, 0, 0, 0, 0x01, 0, 0, 0})),
         quatroCores},
        {"8 bits", Bmp(2, 2, 8, 0, Paleta({VERMELHO, VERDE, AZUL, BRANCO}), Bytes({2, 3, 0, 0, 0, 1, 0, 0})),
         quatroCores},
        {"OS/2", // whose palettes always hold every colour of the depth
         Bmp(2, 2, 8, 0, Paleta({VERMELHO, VERDE, AZUL, BRANCO}, true) + QByteArray(252 * 3, '\0'),
             Bytes({2, 3, 0, 0, 0, 1, 0, 0}), true),
         quatroCores},
        {"24 bits",
         Bmp(2, 2, 24, 0, {}, Bytes({255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0})), quatroCores},
        {"32 bits",
         Bmp(2, 2, 32, 0, {}, Bytes({255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0})), quatroCores},
        {"RLE8", Rle8(),
         {{TRANSPARENTE, TRANSPARENTE, AZUL, TRANSPARENTE},
          {VERDE, AZUL, VERDE, TRANSPARENTE},
          {VERMELHO, VERMELHO, TRANSPARENTE, TRANSPARENTE}}},
        {"RLE4", Rle4(), {{VERMELHO, VERDE, AZUL, TRANSPARENTE}, {VERDE, AZUL, VERDE, TRANSPARENTE}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const ResultadoFigura r = CarregarFiguraDeBytes(c.arquivo);
        ASSERT_TRUE(r.figura) << r.erro.toStdString();
        EXPECT_FALSE(r.figura->metarquivo);
        EXPECT_FALSE(r.figura->desenhar);
        EsperarPixels(r.figura->imagem, c.esperado);
    }
}

TEST(Figura, IconesECursoresDaoAMaiorImagem)
{
    const struct {
        QByteArray arquivo;
        QSize tamanho;
        QRgb cor;
    } casos[] = {
        {Icone({{16, VERMELHO}, {48, AZUL}, {32, VERDE}}), {48, 48}, AZUL},
        {Icone({{32, VERDE}}, 2), {32, 32}, VERDE},
    };
    for (const auto& c : casos) {
        const ResultadoFigura r = CarregarFiguraDeBytes(c.arquivo);
        ASSERT_TRUE(r.figura) << r.erro.toStdString();
        EXPECT_EQ(r.figura->imagem.size(), c.tamanho);
        EXPECT_EQ(r.figura->imagem.pixel(5, 5) | 0xFF000000, c.cor);
    }
}

TEST(Figura, FotosEGifsDasPastasNoTamanhoProprio)
{
    const std::pair<const char*, QSize> casos[] = {
        {"/pictures/Facil/tigre.gif", {384, 384}},
        {"/pictures/Facil/altai.jpg", {384, 288}},
    };
    for (const auto& [arquivo, tamanho] : casos) {
        const ResultadoFigura r = CarregarFigura(FONTE + QLatin1String(arquivo));
        ASSERT_TRUE(r.figura) << arquivo << ": " << r.erro.toStdString();
        EXPECT_EQ(r.figura->imagem.size(), tamanho) << arquivo;
        EXPECT_EQ(r.figura->imagem.format(), QImage::Format_ARGB32);
    }
}

// The extension says nothing: an RLE bitmap under ".rle", a bitmap under ".jpg", a GIF
// under ".bmp" all load by what they hold.
TEST(Figura, TipoDecididoPeloConteudo)
{
    QTemporaryDir pasta;
    const std::pair<const char*, QByteArray> casos[] = {
        {"a.rle", Rle8()}, {"b.jpg", Rle4()}, {"c.bmp", Gif(1, 1)}, {"d", Icone({{16, AZUL}})}};
    for (const auto& [nome, bytes] : casos) {
        QFile f(pasta.filePath(QLatin1String(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const ResultadoFigura r = CarregarFigura(f.fileName());
        EXPECT_TRUE(r.figura) << nome << ": " << r.erro.toStdString();
    }
}

TEST(Figura, FigurasHostisDaoUmaDescricaoEmPortugues)
{
    const QByteArray paisaje = Ler(FONTE + "/pictures/Facil/paisaje.wmf");
    const QByteArray farol = Ler(FONTE + "/tests/dados/farol.emf");
    const QByteArray tigre = Ler(FONTE + "/pictures/Facil/tigre.gif");
    const QByteArray altai = Ler(FONTE + "/pictures/Facil/altai.jpg");
    ASSERT_FALSE(paisaje.isEmpty() || farol.isEmpty() || tigre.isEmpty() || altai.isEmpty());
    const QByteArray bmp24 = Bmp(64, 64, 24, 0, {}, QByteArray(64 * 64 * 3, '\x7F'));
    const struct {
        const char* nome;
        QByteArray bytes;
        const char* erro;
    } casos[] = {
        {"vazio", {}, ERRO_VAZIO},
        {"texto", "Nada de figura aqui.", ERRO_FORMATO},
        {"BMP de 100000 x 100000", Bmp(100000, 100000, 24, 0, {}, QByteArray(64, '\0')), ERRO_GRANDE},
        {"BMP cortado", bmp24.left(bmp24.size() / 2), ERRO_CORROMPIDO},
        {"BMP sem pixels", bmp24.left(60), ERRO_CORROMPIDO},
        {"RLE8 cortado", Rle8().left(Rle8().size() - 10), ERRO_CORROMPIDO},
        {"RLE4 com 8 bits por pixel", ComBytesTrocados(Rle4(), 28, {8}), ERRO_CORROMPIDO},
        {"GIF de 65535 x 65535", Gif(65535, 65535), ERRO_GRANDE},
        {"GIF cortado", tigre.left(tigre.size() / 2), ERRO_CORROMPIDO},
        {"JPEG cortado", altai.left(altai.size() / 2), ERRO_CORROMPIDO},
        {"ícone apontando para fora", Icone({{16, AZUL}}).left(200), ERRO_CORROMPIDO},
        {"ícone de 30000 px", ComBytesTrocados(Icone({{16, AZUL}}), 22 + 4, {0x30, 0x75}), ERRO_GRANDE},
        {"WMF cortado", paisaje.left(paisaje.size() / 2), ERRO_CORROMPIDO},
        {"WMF a 1 unidade por polegada", ComBytesTrocados(paisaje, 14, {1, 0}), ERRO_GRANDE},
        {"EMF cortado", farol.left(farol.size() / 2), ERRO_CORROMPIDO},
        {"EMF de 20 m", ComBytesTrocados(farol, 32, {0x80, 0x84, 0x1E, 0x00}), ERRO_GRANDE},
    };
    for (const auto& c : casos) {
        const ResultadoFigura r = CarregarFiguraDeBytes(c.bytes);
        EXPECT_FALSE(r.figura) << c.nome;
        EXPECT_EQ(r.erro, QString::fromUtf8(c.erro)) << c.nome;
    }
}

TEST(Figura, ArquivosQueNaoSePodemLer)
{
    QTemporaryDir pasta;
    QFile vazio(pasta.filePath("vazio.bmp"));
    ASSERT_TRUE(vazio.open(QIODevice::WriteOnly));
    vazio.close();
    const std::pair<QString, const char*> casos[] = {
        {pasta.filePath("nao_existe.bmp"), ERRO_NAO_ENCONTRADO},
        {pasta.filePath("nao_existe/x.bmp"), ERRO_NAO_ENCONTRADO},
        {QString(), ERRO_NAO_ENCONTRADO},
        {pasta.path(), ERRO_PASTA},
        {vazio.fileName(), ERRO_VAZIO},
    };
    for (const auto& [caminho, erro] : casos) {
        const ResultadoFigura r = CarregarFigura(caminho);
        EXPECT_FALSE(r.figura) << caminho.toStdString();
        EXPECT_EQ(r.erro, QString::fromUtf8(erro)) << caminho.toStdString();
    }
}

// Root reads any file, so the check runs in a child that gives up root first.
TEST(Figura, ArquivoSemPermissaoDeLeitura)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(QFile::setPermissions(pasta.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadOther | QFile::ExeOther));
    const QString caminho = pasta.filePath("fechado.bmp");
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Rle8());
    f.close();
    ASSERT_TRUE(QFile::setPermissions(caminho, QFile::WriteOwner));
    const auto semPermissao = [&caminho] { return CarregarFigura(caminho).erro == QString::fromUtf8(ERRO_PERMISSAO); };
    if (::geteuid() != 0) {
        EXPECT_TRUE(semPermissao());
        return;
    }
    const pid_t filho = ::fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        constexpr uid_t NINGUEM = 65534;
        if (::setgid(NINGUEM) != 0 || ::setuid(NINGUEM) != 0) {
            ::_exit(2);
        }
        ::_exit(semPermissao() ? 0 : 1);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFEXITED(estado));
    if (WEXITSTATUS(estado) == 2) {
        GTEST_SKIP() << "cannot drop root here";
    }
    EXPECT_EQ(WEXITSTATUS(estado), 0);
}

// Damaged copies of every kind of picture: each must load or fail with a message, and
// nothing may crash or read outside the data (run under the sanitizers).
TEST(Figura, BytesEmbaralhadosNuncaDerrubam)
{
    std::vector<QByteArray> amostras{Rle8(), Rle4(), Icone({{16, AZUL}}), Gif(2, 2),
                                     Ler(FONTE + "/pictures/Facil/paisaje.wmf"), Ler(FONTE + "/tests/dados/farol.emf"),
                                     Bmp(3, 3, 8, 0, Paleta({VERMELHO, VERDE}), QByteArray(12, '\1'))};
    std::mt19937 gerador(20240501);
    for (const QByteArray& original : amostras) {
        ASSERT_FALSE(original.isEmpty());
        for (int rodada = 0; rodada < 40; ++rodada) {
            QByteArray b = original;
            // Keep the signature, so that the decoder proper sees the damage.
            const qint64 inicio = qMin<qint64>(4, b.size() - 1);
            std::uniform_int_distribution<qint64> posicao(inicio, b.size() - 1);
            for (int i = 0; i < 1 + rodada % 8; ++i) {
                b[posicao(gerador)] = char(gerador());
            }
            if (rodada % 5 == 4) {
                b.truncate(posicao(gerador));
            }
            const ResultadoFigura r = CarregarFiguraDeBytes(b);
            ASSERT_TRUE(r.figura || !r.erro.isEmpty());
        }
    }
    for (int rodada = 0; rodada < 50; ++rodada) {
        QByteArray b(1 + rodada * 37, '\0');
        for (auto& c : b) {
            c = char(gerador());
        }
        const ResultadoFigura r = CarregarFiguraDeBytes(b);
        ASSERT_TRUE(r.figura || !r.erro.isEmpty());
    }
}

TEST(Figura, MetarquivoEnhancedDoFarol)
{
    const ResultadoFigura r = CarregarFigura(FONTE + "/tests/dados/farol.emf");
    ASSERT_TRUE(r.figura) << r.erro.toStdString();
    const Figura& f = *r.figura;
    EXPECT_TRUE(f.metarquivo);
    // rclFrame is 210 x 297 mm: an A4 page at 96 dpi.
    EXPECT_EQ(f.imagem.size(), QSize(794, 1122));
    ASSERT_TRUE(f.desenhar);
    const QImage metade = f.desenhar(QSize(397, 561));
    ASSERT_EQ(metade.size(), QSize(397, 561));
    // Red and white bands of the tower, the lamp, and the transparent page around it.
    const struct {
        QPoint ponto;
        QRgb cor;
    } amostras[] = {{{355, 290}, 0xFFDA413F}, {{355, 400}, 0xFFDCDCDC}, {{300, 900}, 0xFFDA413F}, {{355, 150}, 0xFFFAFF97}, {{40, 40}, 0}};
    for (const auto& a : amostras) {
        for (const auto& [imagem, escala] : {std::pair{f.imagem, 1}, std::pair{metade, 2}}) {
            const QColor obtida = QColor::fromRgba(imagem.pixel(a.ponto / escala));
            const QColor esperada = QColor::fromRgba(a.cor);
            EXPECT_NEAR(obtida.red(), esperada.red(), 40) << a.ponto.x() << "," << a.ponto.y() << " /" << escala;
            EXPECT_NEAR(obtida.green(), esperada.green(), 40) << a.ponto.x() << "," << a.ponto.y();
            EXPECT_EQ(obtida.alpha(), esperada.alpha()) << a.ponto.x() << "," << a.ponto.y();
        }
    }
}
