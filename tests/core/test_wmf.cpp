#include "pieces/figura.h"

#include <QFile>
#include <QRect>

#include <gtest/gtest.h>

#include <map>
#include <optional>

using namespace zelpo;

namespace {

void U16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void U32(QByteArray& b, qint64 v)
{
    U16(b, int(v & 0xFFFF));
    U16(b, int((v >> 16) & 0xFFFF));
}

// Records are lists of 16-bit words after the record's size and function.
class Registros {
public:
    Registros& R(int funcao, std::initializer_list<int> palavras)
    {
        U32(bytes_, 3 + qint64(palavras.size()));
        U16(bytes_, funcao);
        for (int p : palavras) {
            U16(bytes_, p);
        }
        return *this;
    }
    Registros& RBytes(int funcao, QByteArray parametros)
    {
        if (parametros.size() % 2) {
            parametros.append('\0');
        }
        U32(bytes_, 3 + parametros.size() / 2);
        U16(bytes_, funcao);
        bytes_ += parametros;
        return *this;
    }
    // COLORREF words: red in the low byte.
    static int Lo(QRgb c) { return qRed(c) | (qGreen(c) << 8); }
    static int Hi(QRgb c) { return qBlue(c); }

    Registros& Caneta(int estilo, int largura, QRgb cor) { return R(0x02FA, {estilo, largura, 0, Lo(cor), Hi(cor)}); }
    Registros& Pincel(int estilo, QRgb cor, int hachura = 0) { return R(0x02FC, {estilo, Lo(cor), Hi(cor), hachura}); }
    Registros& Selecionar(int i) { return R(0x012D, {i}); }
    Registros& Apagar(int i) { return R(0x01F0, {i}); }
    // Selects a null pen and a solid brush of the colour into slots 0 and 1.
    Registros& SoPreenchimento(QRgb cor) { return Caneta(5, 0, 0).Pincel(0, cor).Selecionar(0).Selecionar(1); }
    Registros& Caixa(int funcao, QRect r) { return R(funcao, {r.bottom(), r.right(), r.top(), r.left()}); }

    // With a placeable header of the given box, or a plain file when there is none.
    QByteArray Arquivo(std::optional<QRect> caixa = QRect(QPoint(0, 0), QPoint(100, 100)), int porPolegada = 96) const
    {
        QByteArray b;
        if (caixa) {
            U32(b, 0x9AC6CDD7), U16(b, 0);
            U16(b, caixa->left()), U16(b, caixa->top()), U16(b, caixa->right()), U16(b, caixa->bottom());
            U16(b, porPolegada), U32(b, 0);
            int soma = 0;
            for (int i = 0; i < 20; i += 2) {
                soma ^= quint8(b[i]) | (quint8(b[i + 1]) << 8);
            }
            U16(b, soma);
        }
        const QByteArray corpo = bytes_ + QByteArray::fromHex("030000000000");
        U16(b, 1), U16(b, 9), U16(b, 0x0300), U32(b, 9 + corpo.size() / 2), U16(b, 8), U32(b, 64), U16(b, 0);
        return b + corpo;
    }

private:
    QByteArray bytes_;
};

constexpr int ELLIPSE = 0x0418, RECTANGLE = 0x041B;
constexpr QRgb VERMELHO = 0xFFFF0000, VERDE = 0xFF00FF00, AZUL = 0xFF0000FF, BRANCO = 0xFFFFFFFF,
               PRETO = 0xFF000000, NADA = 0;
const QRect QUADRADO(QPoint(10, 10), QPoint(90, 90));

QImage Desenhar(const QByteArray& arquivo)
{
    const ResultadoFigura r = CarregarFiguraDeBytes(arquivo);
    EXPECT_TRUE(r.figura) << r.erro.toStdString();
    return r.figura ? r.figura->imagem : QImage();
}

struct Amostra {
    QPoint ponto;
    QRgb cor;
};

} // namespace

// A 100 x 100 unit box at 96 units per inch: one unit to the pixel.
TEST(Wmf, FormasPreenchimentosECanetas)
{
    const struct {
        const char* nome;
        Registros registros;
        std::vector<Amostra> amostras;
    } casos[] = {
        {"elipse sem contorno", Registros().SoPreenchimento(VERMELHO).Caixa(ELLIPSE, QUADRADO),
         {{{50, 50}, VERMELHO}, {{50, 12}, VERMELHO}, {{13, 13}, NADA}, {{88, 88}, NADA}}},
        {"retângulo arredondado",
         Registros().SoPreenchimento(AZUL).R(0x061C, {40, 40, 90, 90, 10, 10}),
         {{{11, 11}, NADA}, {{88, 88}, NADA}, {{50, 11}, AZUL}, {{11, 50}, AZUL}, {{50, 50}, AZUL}}},
        {"torta do primeiro quadrante", // from the ray to the right, counter-clockwise to the top
         Registros().SoPreenchimento(VERDE).R(0x081A, {10, 50, 50, 90, 90, 90, 10, 10}),
         {{{65, 35}, VERDE}, {{35, 35}, NADA}, {{35, 65}, NADA}, {{65, 65}, NADA}}},
        {"corda", Registros().SoPreenchimento(VERDE).R(0x0830, {10, 50, 50, 90, 90, 90, 10, 10}),
         {{{75, 25}, VERDE}, {{55, 45}, NADA}, {{30, 70}, NADA}}},
        {"polígono", Registros().SoPreenchimento(VERMELHO).R(0x0324, {3, 10, 90, 50, 10, 90, 90}),
         {{{50, 60}, VERMELHO}, {{15, 20}, NADA}, {{85, 20}, NADA}}},
        {"polipolígono com furo",
         Registros().SoPreenchimento(VERMELHO).R(0x0538, {2, 4, 4, 10, 10, 90, 10, 90, 90, 10, 90,
                                                           30, 30, 70, 30, 70, 70, 30, 70}),
         {{{20, 20}, VERMELHO}, {{80, 80}, VERMELHO}, {{50, 50}, NADA}}},
        {"caneta nula e pincel nulo",
         Registros().Caneta(5, 1, PRETO).Pincel(1, VERMELHO).Selecionar(0).Selecionar(1).Caixa(RECTANGLE, QUADRADO),
         {{{10, 10}, NADA}, {{10, 50}, NADA}, {{50, 50}, NADA}}},
        {"só o contorno",
         Registros().Caneta(0, 1, PRETO).Pincel(1, VERMELHO).Selecionar(0).Selecionar(1).Caixa(RECTANGLE, QUADRADO),
         {{{10, 50}, PRETO}, {{50, 10}, PRETO}, {{50, 50}, NADA}}},
        {"caneta preta e pincel branco de partida", Registros().Caixa(RECTANGLE, QUADRADO),
         {{{10, 50}, PRETO}, {{50, 50}, BRANCO}, {{5, 5}, NADA}}},
        {"objeto novo no menor lugar livre",
         Registros().Caneta(5, 0, 0).Pincel(0, VERMELHO).Pincel(0, AZUL).Apagar(1).Pincel(0, VERDE)
             .Selecionar(0).Selecionar(1).Caixa(RECTANGLE, QUADRADO),
         {{{50, 50}, VERDE}}},
        {"SAVEDC e RESTOREDC",
         Registros().Caneta(5, 0, 0).Pincel(0, VERMELHO).Pincel(0, AZUL).Selecionar(0).Selecionar(2)
             .R(0x001E, {}).Selecionar(1).R(0x0127, {0xFFFF}).Caixa(RECTANGLE, QUADRADO),
         {{{50, 50}, AZUL}}},
        {"registro desconhecido saltado",
         Registros().R(0x0999, {1, 2, 3, 4, 5}).SoPreenchimento(VERMELHO).Caixa(ELLIPSE, QUADRADO),
         {{{50, 50}, VERMELHO}}},
        {"janela com o eixo y para cima",
         Registros().R(0x020B, {100, 0}).R(0x020C, {-100, 100}).SoPreenchimento(VERMELHO)
             .Caixa(RECTANGLE, QRect(QPoint(10, 10), QPoint(30, 30))),
         {{{20, 80}, VERMELHO}, {{20, 20}, NADA}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const QImage imagem = Desenhar(c.registros.Arquivo());
        ASSERT_EQ(imagem.size(), QSize(100, 100));
        for (const auto& a : c.amostras) {
            EXPECT_EQ(imagem.pixel(a.ponto), a.cor) << a.ponto.x() << "," << a.ponto.y();
        }
    }
}

TEST(Wmf, TextoNaCorDoTextoEFundoOpaco)
{
    QByteArray fonte;
    for (int v : {-40, 0, 0, 0, 700}) {
        U16(fonte, v);
    }
    fonte += QByteArray(8, '\0') + "DejaVu Sans";
    const auto comFundo = [&](int modo) {
        return Registros()
            .RBytes(0x02FB, fonte)
            .Selecionar(0)
            .R(0x0209, {Registros::Lo(VERMELHO), Registros::Hi(VERMELHO)})
            .R(0x0201, {Registros::Lo(AZUL), Registros::Hi(AZUL)})
            .R(0x0102, {modo})
            .R(0x0521, {2, 'H' | ('H' << 8), 10, 10})
            .Arquivo();
    };
    for (int modo : {1, 2}) {
        const QImage imagem = Desenhar(comFundo(modo));
        int vermelhos = 0, azuis = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                vermelhos += imagem.pixel(x, y) == VERMELHO;
                azuis += imagem.pixel(x, y) == AZUL;
                if (y < 8 || y > 65 || x < 8) {
                    ASSERT_EQ(imagem.pixel(x, y), NADA) << "outside the text at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(vermelhos, 100) << "mode " << modo;
        if (modo == 2) {
            EXPECT_GT(azuis, 100);
        } else {
            EXPECT_EQ(azuis, 0);
        }
    }
}

TEST(Wmf, BitmapEsticadoNaCaixa)
{
    // 2 x 2 pixels, 24 bits, bottom row first: blue white / red green.
    QByteArray dib;
    U32(dib, 40), U32(dib, 2), U32(dib, 2), U16(dib, 1), U16(dib, 24);
    for (int i = 0; i < 6; ++i) {
        U32(dib, 0);
    }
    dib += QByteArray::fromHex("ff0000ffffff0000" "0000ff00ff000000");
    QByteArray parametros;
    for (int v : {0x0020, 0x00CC, 0, 2, 2, 0, 0, 100, 100, 0, 0}) { // SRCCOPY, whole source
        U16(parametros, v);
    }
    const QImage imagem = Desenhar(Registros().RBytes(0x0F43, parametros + dib).Arquivo());
    const Amostra amostras[] = {{{25, 25}, VERMELHO}, {{75, 25}, VERDE}, {{25, 75}, AZUL}, {{75, 75}, BRANCO}};
    for (const auto& a : amostras) {
        EXPECT_EQ(imagem.pixel(a.ponto), a.cor) << a.ponto.x() << "," << a.ponto.y();
    }
}

// With the placeable header, its box at 96 px to the inch; without it, the window at
// 1440 units to the inch; with neither, what the records draw.
TEST(Wmf, TamanhoNatural)
{
    const Registros elipse = Registros().SoPreenchimento(VERMELHO).Caixa(ELLIPSE, QRect(QPoint(0, 0), QPoint(40, 20)));
    const Registros janela = Registros().R(0x020B, {0, 0}).R(0x020C, {720, 1440});
    const struct {
        const char* nome;
        QByteArray arquivo;
        QSize tamanho;
    } casos[] = {
        {"1200 por polegada", elipse.Arquivo(QRect(QPoint(0, 0), QPoint(2400, 1200)), 1200), {192, 96}},
        {"caixa fora da origem", elipse.Arquivo(QRect(QPoint(-100, -50), QPoint(100, 50)), 96), {200, 100}},
        {"sem cabeçalho posicionável", janela.Arquivo(std::nullopt), {96, 48}},
        {"sem cabeçalho nem janela", elipse.Arquivo(std::nullopt), {40, 20}},
    };
    for (const auto& c : casos) {
        const ResultadoFigura r = CarregarFiguraDeBytes(c.arquivo);
        ASSERT_TRUE(r.figura) << c.nome << ": " << r.erro.toStdString();
        EXPECT_TRUE(r.figura->metarquivo);
        EXPECT_NEAR(r.figura->imagem.width(), c.tamanho.width(), 1) << c.nome;
        EXPECT_NEAR(r.figura->imagem.height(), c.tamanho.height(), 1) << c.nome;
    }
}

TEST(Wmf, RedesenhadoEmOutroTamanhoSemEscalarOBitmap)
{
    const ResultadoFigura r = CarregarFiguraDeBytes(Registros().Caneta(0, 0, PRETO).Pincel(0, VERMELHO)
                                                        .Selecionar(0).Selecionar(1).Caixa(ELLIPSE, QUADRADO).Arquivo());
    ASSERT_TRUE(r.figura && r.figura->desenhar);
    const QImage grande = r.figura->desenhar(QSize(400, 100));
    ASSERT_EQ(grande.size(), QSize(400, 100));
    EXPECT_EQ(grande.pixel(200, 50), VERMELHO);
    EXPECT_EQ(grande.pixel(45, 5), NADA);
    // A thin pen stays one pixel wide instead of growing with the picture.
    int pretos = 0;
    for (int x = 30; x < 50; ++x) {
        pretos += grande.pixel(x, 50) == PRETO;
    }
    EXPECT_EQ(pretos, 1);
}

// Between the lines of a hatch, the background colour in opaque mode, nothing in
// transparent mode.
TEST(Wmf, HachuraSobreOFundo)
{
    for (int modo : {1, 2}) {
        const QImage imagem = Desenhar(Registros()
                                           .Caneta(5, 0, 0)
                                           .Pincel(2, PRETO, 0)
                                           .Selecionar(0)
                                           .Selecionar(1)
                                           .R(0x0201, {Registros::Lo(AZUL), Registros::Hi(AZUL)})
                                           .R(0x0102, {modo})
                                           .Caixa(RECTANGLE, QUADRADO)
                                           .Arquivo());
        std::map<QRgb, int> cores;
        for (int y = 20; y < 80; ++y) {
            ++cores[imagem.pixel(50, y)];
        }
        EXPECT_GT(cores[PRETO], 3) << "mode " << modo;
        EXPECT_EQ(cores[PRETO] + cores[modo == 2 ? AZUL : NADA], 60) << "mode " << modo;
    }
}

TEST(Wmf, ArquivosDanificados)
{
    const QByteArray bom = Registros().SoPreenchimento(VERMELHO).Caixa(ELLIPSE, QUADRADO).Arquivo();
    QByteArray tamanhoZero = bom;
    tamanhoZero[40] = tamanhoZero[41] = tamanhoZero[42] = tamanhoZero[43] = 0;
    QByteArray longoDemais = bom;
    longoDemais[42] = 0x10;
    QByteArray versaoErrada = bom;
    versaoErrada[22 + 5] = 0x07;
    const std::pair<QByteArray, const char*> casos[] = {
        {tamanhoZero, ERRO_CORROMPIDO},
        {longoDemais, ERRO_CORROMPIDO},
        {bom.left(bom.size() - 8), ERRO_CORROMPIDO},
        {versaoErrada, ERRO_CORROMPIDO},
        {Registros().Arquivo(std::nullopt), ERRO_CORROMPIDO}, // draws nothing, has no size
    };
    for (const auto& [bytes, erro] : casos) {
        const ResultadoFigura r = CarregarFiguraDeBytes(bytes);
        EXPECT_FALSE(r.figura);
        EXPECT_EQ(r.erro, QString::fromUtf8(erro));
    }
}

TEST(Wmf, PaisagemDoRio)
{
    const ResultadoFigura r = CarregarFigura(QStringLiteral(ZELPO_FONTE "/pictures/Facil/paisaje.wmf"));
    ASSERT_TRUE(r.figura) << r.erro.toStdString();
    const QImage& imagem = r.figura->imagem;
    // 13332 x 8666 units at 1200 to the inch.
    EXPECT_EQ(imagem.size(), QSize(1067, 693));
    const Amostra amostras[] = {
        {{800, 20}, 0xFF5CB4E9},  // sky
        {{970, 90}, 0xFFFF5A06},  // sun
        {{60, 400}, 0xFF1A24CB},  // river
        {{300, 500}, 0xFF7BF228}, // meadow
        {{540, 200}, 0xFF37C81D}, // tree crown
        {{900, 660}, 0xFF1DAF49}, // shadow in the grass
    };
    for (const auto& a : amostras) {
        EXPECT_EQ(imagem.pixel(a.ponto), a.cor) << a.ponto.x() << "," << a.ponto.y();
    }
}
