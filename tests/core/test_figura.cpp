#include "figuras_de_teste.h"

#include <random>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

// 4 x 3: a run and an early end of line, an absolute run, a delta; skipped pixels stay transparent.
const QByteArray RLE8 = Bmp(4, 3, 8, 1, Paleta({VERMELHO, VERDE, AZUL}),
                            Bytes({2, 0, 0, 0, /**/ 0, 3, 1, 2, 1, 0, 0, 0, /**/ 0, 2, 2, 0, 1, 2, 0, 1}));

using Amostra = std::pair<QPoint, QRgb>;

// Each sample (its point divided by the scale) within the tolerance on each channel, alpha exact.
void Conferir(const QImage& imagem, const std::vector<Amostra>& amostras, int tolerancia = 0, int escala = 1)
{
    for (const auto& [ponto, cor] : amostras) {
        const QRgb p = imagem.pixel(ponto / escala);
        const auto perto = [&](int (*canal)(QRgb)) { return std::abs(canal(p) - canal(cor)) <= tolerancia; };
        EXPECT_TRUE(perto(qRed) && perto(qGreen) && perto(qBlue) && qAlpha(p) == qAlpha(cor))
            << std::hex << p << " instead of " << cor << std::dec << " at " << ponto.x() << "," << ponto.y();
    }
}

} // namespace

// Whatever the name of the file says. Pixels from the top row down; icons give their
// largest image.
TEST(Figura, FigurasNoTamanhoProprioPeloConteudo)
{
    const struct { const char* nome; QByteArray bytes; QSize tamanho; std::vector<QRgb> pixels; } casos[] = {
        // OS/2 palettes have three bytes an entry and always every colour of the depth.
        {"os2.bmp", Bmp(2, 2, 8, 0, Paleta({VERMELHO, VERDE, AZUL, BRANCO}, true) + QByteArray(252 * 3, 0),
                        Bytes({2, 3, 0, 0, 0, 1, 0, 0}), true), {2, 2}, {VERMELHO, VERDE, AZUL, BRANCO}},
        {"rle8.rle", RLE8, {4, 3}, {NADA, NADA, AZUL, NADA, VERDE, AZUL, VERDE, NADA, VERMELHO, VERMELHO, NADA, NADA}},
        {"rle4.jpg", RLE4, {4, 2}, {VERMELHO, VERDE, AZUL, NADA, VERDE, AZUL, VERDE, NADA}},
        {"gif.bmp", Gif(1, 1), {1, 1}, {VERMELHO}},
        {"icone", Icone({{16, VERMELHO}, {48, AZUL}, {32, VERDE}}), {48, 48}, {}},
    };
    for (const auto& c : casos) {
        const QImage imagem = Carregada(c.bytes).imagem;
        ASSERT_EQ(imagem.size(), c.tamanho) << c.nome;
        ASSERT_EQ(imagem.format(), QImage::Format_ARGB32) << c.nome;
        for (int i = 0; i < int(c.pixels.size()); ++i)
            EXPECT_EQ(imagem.pixel(i % c.tamanho.width(), i / c.tamanho.width()), c.pixels[size_t(i)]) << c.nome << " " << i;
    }
}

TEST(Figura, FigurasHostisDaoUmaDescricaoEmPortugues)
{
    const QByteArray farol = Ler("/tests/dados/farol.emf"), altai = Ler("/pictures/Facil/altai.jpg");
    // A metafile with the placeable header has its first record's size at bytes 40-43.
    const struct { const char* nome; QByteArray bytes; const char* erro; } casos[] = {
        {"texto", "Nada de figura aqui.", ERRO_FORMATO}, {"vazio", QByteArray(), ERRO_VAZIO},
        {"RLE de dois milhões de px de largura", Trocar(RLE8, 18, P32({2000000})), ERRO_GRANDE},
        {"BMP cortado", Bmp(64, 64, 24, 0, {}, QByteArray(64 * 64 * 3, '\x7F')).left(6000), ERRO_CORROMPIDO},
        {"RLE4 com 8 bits por pixel", Trocar(RLE4, 28, Bytes({8})), ERRO_CORROMPIDO},
        {"GIF de 65535 x 65535", Gif(65535, 65535), ERRO_GRANDE},
        {"JPEG cortado", altai.left(altai.size() / 2), ERRO_CORROMPIDO},
        {"ícone de 30000 px sem os pixels", Trocar(Icone({{16, AZUL}}), 26, P16({30000})), ERRO_CORROMPIDO},
        {"registro de tamanho zero", Trocar(Wmf(Caixa(ELLIPSE, QUADRADO)), 40, P32({0})), ERRO_CORROMPIDO},
        {"WMF sem nada desenhado nem tamanho", Wmf({}, std::nullopt), ERRO_CORROMPIDO},
        {"EMF cortado", farol.left(farol.size() / 2), ERRO_CORROMPIDO},
    };
    for (const auto& c : casos) {
        const ResultadoFigura r = CarregarFiguraDeBytes(c.bytes, Ajuste{4096, true});
        EXPECT_FALSE(r.figura) << c.nome;
        EXPECT_EQ(r.erro, QString::fromUtf8(c.erro)) << c.nome;
    }
}

// Damaged copies of every kind of picture, and plain noise: each loads or fails with a
// message, cropped, shrunk or whole, and nothing crashes or reads outside the data (run
// under the sanitizers).
TEST(Figura, BytesEmbaralhadosNuncaDerrubam)
{
    std::mt19937 gerador(20240501);
    QByteArray ruido(3000, '\0');
    std::generate(ruido.begin(), ruido.end(), [&gerador] { return char(gerador()); });
    const QByteArray amostras[] = {ruido, RLE8, RLE4, Icone({{16, AZUL}}), Gif(2, 2),
                                   Wmf(SoPreenchimento(VERMELHO) + Caixa(ELLIPSE, QUADRADO), std::nullopt),
                                   Ler("/pictures/Facil/paisaje.wmf"), Ler("/tests/dados/farol.emf"),
                                   Bmp(3, 3, 8, 0, Paleta({VERMELHO, VERDE}), QByteArray(12, '\1'))};
    for (const QByteArray& original : amostras) {
        ASSERT_GT(original.size(), 4);
        std::uniform_int_distribution<qint64> posicao(4, original.size() - 1); // keeping the signature
        for (int rodada = 0; rodada < 40; ++rodada) {
            QByteArray b = original;
            for (int i = 0; i <= rodada % 8; ++i)
                b[posicao(gerador)] = char(gerador());
            const Ajuste ajuste{rodada % 3 == 0 ? 2 : 4096, rodada % 2 == 0};
            const ResultadoFigura r = CarregarFiguraDeBytes(b.left(rodada % 5 == 4 ? posicao(gerador) : b.size()), ajuste);
            ASSERT_TRUE(r.figura || !r.erro.isEmpty());
        }
    }
}

// A 100 x 100 unit box at 96 units per inch: one unit to the pixel.
TEST(Wmf, FormasPreenchimentosECanetas)
{
    const QByteArray dib = Bmp(2, 2, 24, 0, {}, Bytes({255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}));
    const struct { const char* nome; QByteArray registros; std::vector<Amostra> amostras; } casos[] = {
        {"elipse sem contorno, depois de um registro desconhecido",
         Reg(0x0999, {1, 2, 3}) + SoPreenchimento(VERMELHO) + Caixa(ELLIPSE, QUADRADO),
         {{{50, 50}, VERMELHO}, {{50, 12}, VERMELHO}, {{13, 13}, NADA}, {{88, 88}, NADA}}},
        {"retângulo arredondado", SoPreenchimento(AZUL) + Reg(0x061C, {40, 40, 90, 90, 10, 10}),
         {{{11, 11}, NADA}, {{88, 88}, NADA}, {{50, 11}, AZUL}, {{11, 50}, AZUL}, {{50, 50}, AZUL}}},
        // From the ray to the right, counter-clockwise to the top.
        {"torta do primeiro quadrante", SoPreenchimento(VERDE) + Reg(0x081A, {10, 50, 50, 90, 90, 90, 10, 10}),
         {{{65, 35}, VERDE}, {{35, 35}, NADA}, {{35, 65}, NADA}, {{65, 65}, NADA}}},
        {"polígono", SoPreenchimento(VERMELHO) + Reg(0x0324, {3, 10, 90, 50, 10, 90, 90}),
         {{{50, 60}, VERMELHO}, {{15, 20}, NADA}, {{85, 20}, NADA}}},
        {"caneta nula e pincel nulo", Caneta(5, PRETO) + Pincel(1, AZUL) + Sel(0) + Sel(1) + Caixa(RECTANGLE, QUADRADO),
         {{{10, 10}, NADA}, {{10, 50}, NADA}, {{50, 50}, NADA}}},
        {"janela com o eixo y para cima", Reg(0x020B, {100, 0}) + Reg(0x020C, {-100, 100}) + SoPreenchimento(VERMELHO)
                                              + Caixa(RECTANGLE, {10, 10, 21, 21}),
         {{{20, 80}, VERMELHO}, {{20, 20}, NADA}}},
        {"bitmap esticado na caixa", // SRCCOPY of the whole 2 x 2 source
         Reg(0x0F43, P16({0x0020, 0x00CC, 0, 2, 2, 0, 0, 100, 100, 0, 0}) + dib.mid(14)),
         {{{25, 25}, VERMELHO}, {{75, 25}, VERDE}, {{25, 75}, AZUL}, {{75, 75}, BRANCO}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const QImage imagem = Carregada(Wmf(c.registros)).imagem;
        ASSERT_EQ(imagem.size(), QSize(100, 100));
        Conferir(imagem, c.amostras);
    }
}

// Text in its own colour; around it the background colour in opaque mode, nothing in
// transparent mode; nothing outside its box.
TEST(Wmf, TextoSobreOFundo)
{
    const QByteArray fonte = P16({-40, 0, 0, 0, 700}) + QByteArray(8, '\0') + "DejaVu Sans";
    const QRect caixa(QPoint(8, 8), QPoint(99, 65));
    for (int modo : {1, 2}) {
        SCOPED_TRACE(modo);
        const QImage imagem = Carregada(Wmf(Cor(0x0201, AZUL) + Reg(0x0102, {modo}) + Reg(0x02FB, fonte) + Sel(0)
                                            + Cor(0x0209, VERMELHO) + Reg(0x0521, {2, 'H' | ('H' << 8), 10, 10}))).imagem;
        const int tinta = Contar(imagem, [](QRgb p) { return p == VERMELHO; });
        EXPECT_TRUE(tinta > 100 && tinta < 2000) << tinta;
        EXPECT_EQ(Contar(imagem, [](QRgb p) { return p == AZUL; }) > 100, modo == 2);
        const auto algo = [](QRgb p) { return p != NADA; };
        EXPECT_EQ(Contar(imagem, algo), Contar(imagem.copy(caixa), algo)) << "drawn outside the box";
    }
}

// With the placeable header, its box at 96 px to the inch; without it, the window at
// 1440 units to the inch; with neither, what the records draw.
TEST(Wmf, TamanhoNaturalERedesenho)
{
    const QByteArray elipse = SoPreenchimento(VERMELHO) + Caixa(ELLIPSE, QRect(0, 0, 41, 21));
    const std::pair<QByteArray, QSize> casos[] = {
        {Wmf(elipse, QRect(0, 0, 2401, 1201), 1200), {192, 96}}, {Wmf(elipse, QRect(-100, -50, 201, 101)), {200, 100}},
        {Wmf(Reg(0x020B, {0, 0}) + Reg(0x020C, {720, 1440}), std::nullopt), {96, 48}},
        {Wmf(elipse, std::nullopt), {40, 20}},
    };
    for (const auto& [arquivo, tamanho] : casos) {
        const Figura f = Carregada(arquivo);
        EXPECT_TRUE(f.metarquivo);
        EXPECT_NEAR(f.natural.width(), tamanho.width(), 1);
        EXPECT_NEAR(f.natural.height(), tamanho.height(), 1);
        EXPECT_EQ(f.imagem.size(), f.natural);
    }
    // Played at a quarter of its size, a thin pen stays one pixel wide instead of fading.
    const QByteArray elipseLonga = Caneta(0, PRETO) + Pincel(0, VERMELHO) + Sel(0) + Sel(1)
                                   + Caixa(ELLIPSE, QRect(QPoint(40, 40), QPoint(1560, 360)));
    const QImage quarto = Carregada(Wmf(elipseLonga, QRect(0, 0, 1601, 401)), Ajuste{400, true}).imagem;
    ASSERT_EQ(quarto.size(), QSize(400, 100));
    Conferir(quarto, {{{200, 50}, VERMELHO}, {{3, 3}, NADA}});
    const QRgb* meio = reinterpret_cast<const QRgb*>(quarto.constScanLine(50));
    EXPECT_EQ(std::count(meio, meio + 20, PRETO), 1);
}

// At their own size and played again at half of it.
TEST(Figura, MetarquivosDeExemplo)
{
    const struct { const char* arquivo; QSize tamanho; int tolerancia; std::vector<Amostra> amostras; } casos[] = {
        // 13332 x 8666 units at 1200 to the inch: sky, sun, river, meadow, tree crown, shadow in the grass.
        {"/pictures/Facil/paisaje.wmf", {1067, 693}, 0,
         {{{800, 20}, 0xFF5CB4E9}, {{970, 90}, 0xFFFF5A06}, {{60, 400}, 0xFF1A24CB}, {{300, 500}, 0xFF7BF228},
          {{540, 200}, 0xFF37C81D}, {{900, 660}, 0xFF1DAF49}}},
        // An A4 page at 96 dpi: red and white bands of the tower, the lamp, the transparent page around it.
        {"/tests/dados/farol.emf", {794, 1122}, 40,
         {{{355, 290}, 0xFFDA413F}, {{355, 400}, 0xFFDCDCDC}, {{300, 900}, 0xFFDA413F}, {{355, 150}, 0xFFFAFF97},
          {{40, 40}, NADA}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.arquivo);
        const QByteArray bytes = Ler(c.arquivo);
        const Figura inteira = Carregada(bytes);
        EXPECT_TRUE(inteira.metarquivo);
        EXPECT_EQ(inteira.natural, c.tamanho);
        EXPECT_EQ(inteira.imagem.size(), c.tamanho);
        Conferir(inteira.imagem, c.amostras, c.tolerancia);
        const Ajuste metade{std::max(c.tamanho.width(), c.tamanho.height()) / 2, true};
        Conferir(Carregada(bytes, metade).imagem, c.amostras, c.tolerancia, 2);
    }
}

// However large the size a metafile declares, it is played at the size the board keeps:
// never more than S on a side, never larger than declared.
TEST(Figura, MetarquivosDeclaradosEnormesTocadosNoTamanhoGuardado)
{
    QByteArray elipses = Caneta(0, PRETO) + Pincel(0, VERDE) + Sel(0) + Sel(1);
    for (int i = 0; i < 2000; ++i)
        elipses += Caixa(ELLIPSE, QRect((i * 37) % 7000, (i * 53) % 7000, 200 + (i * 71) % 2800, 200 + (i * 29) % 2800));
    const QByteArray paisaje = Ler("/pictures/Facil/paisaje.wmf"), farol = Ler("/tests/dados/farol.emf");
    const struct { const char* nome; QByteArray bytes; QSize natural; } casos[] = {
        {"2000 elipses em 8000 x 8000 px", Wmf(elipses, QRect(0, 0, 8001, 8001)), {8000, 8000}},
        {"WMF a 1 unidade por polegada", Trocar(paisaje, 14, P16({1})), {1279872, 831936}},
        {"EMF de 20 m", Trocar(farol, 32, P32({2000000})), {75591, 1122}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        for (const Ajuste ajuste : {Ajuste{384, true}, Ajuste{378, false}}) {
            const Figura f = Carregada(c.bytes, ajuste);
            EXPECT_NEAR(f.natural.width(), c.natural.width(), 1);
            EXPECT_EQ(f.imagem.size(), TamanhoAjustado(f.natural, ajuste));
            EXPECT_GT(Contar(f.imagem, [](QRgb p) { return qAlpha(p) > 0; }), 0) << "nothing drawn";
        }
    }
}

// Without fitting, a metafile that is not one by name keeps its own scale and its top-left
// corner; shrunk, the whole box is drawn smaller.
TEST(Wmf, CortadoNaEscalaPropriaOuReduzidoInteiro)
{
    const QByteArray arquivo = Wmf(SoPreenchimento(VERMELHO) + Caixa(RECTANGLE, QRect(0, 0, 100, 100))
                                       + Pincel(0, AZUL) + Sel(2) + Caixa(RECTANGLE, QRect(600, 600, 100, 100)),
                                   QRect(0, 0, 1001, 1001));
    const QImage cortado = Carregada(arquivo, Ajuste{384, false}).imagem;
    const QImage reduzido = Carregada(arquivo, Ajuste{384, true}).imagem;
    EXPECT_EQ(cortado.size(), QSize(384, 384));
    Conferir(cortado, {{{50, 50}, VERMELHO}, {{98, 98}, VERMELHO}, {{101, 101}, NADA}, {{383, 383}, NADA}});
    EXPECT_EQ(reduzido.size(), QSize(384, 384));
    Conferir(reduzido, {{{19, 19}, VERMELHO}, {{40, 40}, NADA}, {{250, 250}, AZUL}});
}

// A record that would cost more drawing than the picture may take is left out, and so
// is all that follows; what came before is drawn as usual.
TEST(Wmf, RegistroCaroDemaisNaoEDesenhado)
{
    QByteArray cruzado = P16({32000});
    for (int i = 0; i < 32000; ++i)
        cruzado += P16({(i * 7919LL) % 1000, (i * 104729LL) % 1000});
    const QByteArray arquivo = Wmf(SoPreenchimento(VERMELHO) + Caixa(RECTANGLE, QRect(0, 0, 1000, 1000))
                                       + Pincel(0, AZUL) + Sel(2) + Reg(POLYGON, cruzado).repeated(3),
                                   QRect(0, 0, 1001, 1001));
    const QImage imagem = Carregada(arquivo, Ajuste{384, true}).imagem;
    EXPECT_EQ(Contar(imagem, [](QRgb p) { return p != VERMELHO; }), 0);
}
