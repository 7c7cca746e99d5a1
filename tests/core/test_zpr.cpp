#include "figuras_de_teste.h"
#include "files/zpr.h"
#include "game/formacao.h"

#include <functional>

using namespace zelpo;
using namespace figuras_de_teste;

TEST(ArquivoZPR, CamposNosDeslocamentosDaTabela)
{
    JogoSalvo s = JogoValido(3, 2, false, 2);
    s.BytesFigura = QByteArray("\xFF\xD8\xFF\xE0JFIF-data", 13);
    s.ExtensaoFigura = QStringLiteral(".jpg");
    s.SegundosJogo = 100000;
    s.Pequenas = true;
    const QByteArray b = CodificarZPR(s);
    const int n = 13;
    ASSERT_EQ(b.size(), 1508 + n);
    // Piece 4 (the middle of the bottom row): above, below, right, left, column, row, placed.
    const Parte& p4 = s.Partes[4];
    const std::pair<qsizetype, QByteArray> campos[] = {
        {0, "ZPR 2.0 "}, {8, P16({s.PartesRolagem[0]})}, {8 + 2 * 4, P16({-1})}, {172, P16({s.PartesRolagemInicio[0]})},
        {172 + 2 * 6, P16({-1})}, {336, P16({4})},
        {338 + 14 * 4, P16({p4.Cima, 0, p4.Direita, p4.Esquerda, 1, 1, p4.Encaixada})},
        {338 + 14 * 6, QByteArray(14 * 75, '\0')}, // the records past the grid
        {1472, P16({3, 2}) + P32({23, 187, n})}, {1488, s.BytesFigura}, {1488 + n, ".jpg    "},
        {1496 + n, P16({1}) + P32({100000}) + P16({3, -1, 0})},
    };
    for (const auto& [pos, bytes] : campos)
        EXPECT_EQ(b.mid(pos, bytes.size()), bytes) << "offset " << pos;
    EXPECT_TRUE(DecodificarZPR(" ZPR 2.0" + b.mid(8)).jogo); // the magic as older games wrote it
}

// A picture's extension is taken from its path's last dot and cut to eight characters,
// and an extension longer than its field keeps its first eight; a game without picture
// bytes is saved with the placeholder, as the stored length is never 0. (Every game the
// fuzzer's corpus holds, and every game the random walk saves, reads back to itself and
// encodes back to its bytes.)
TEST(ArquivoZPR, ExtensaoLongaEFiguraVazia)
{
    EXPECT_EQ(ExtensaoDe("/a/b/foto.jpg"), ".jpg");
    EXPECT_EQ(ExtensaoDe("/a/b/foto.muitolonga"), ".muitolo");
    EXPECT_EQ(ExtensaoDe("/a/pasta.x/foto"), ".x/foto");
    JogoSalvo s = JogoValido(9, 2, true, 1);
    s.ExtensaoFigura = QStringLiteral(".12345678");
    const ResultadoZPR r = DecodificarZPR(CodificarZPR(s));
    ASSERT_TRUE(r.jogo) << r.erro.toStdString();
    s.ExtensaoFigura.chop(1);
    EXPECT_TRUE(*r.jogo == s);
    s.BytesFigura.clear();
    EXPECT_EQ(DecodificarZPR(CodificarZPR(s)).jogo->BytesFigura, MarcadorFigura());
}

// Cut at every length: never a game, and past the magic always a message. (Bytes changed
// at random are the fuzzer's work: its corpus is replayed by the corpus_zpr test.)
TEST(ArquivoZPR, CortadoERecusadoComMensagem)
{
    const QByteArray original = CodificarZPR(JogoValido(4, 4, false, 5));
    for (qsizetype tamanho = 0; tamanho < original.size(); ++tamanho) {
        const ResultadoZPR r = DecodificarZPR(original.left(tamanho));
        ASSERT_FALSE(r.jogo) << tamanho;
        EXPECT_TRUE(r.versaoIncorreta == (tamanho < 8) && r.erro.isEmpty() == (tamanho < 8)) << tamanho;
    }
}

TEST(ArquivoZPR, CampoRuimERecusadoComSuaMensagem)
{
    // A change to a 4 x 4 small game before it is encoded, or `remendo` written over the
    // bytes from `pos` (the file is 1508 + 300 long). No message: not one of our files.
    using Mudanca = std::function<void(JogoSalvo&)>;
    const struct { Mudanca mudar; qsizetype pos; QByteArray remendo; const char* trecho; } casos[] = {
        {[](auto& s) { s.Colunas = 1; }, 0, {}, "fora do limite"},
        {[](auto& s) { s.Pequenas = false; s.Colunas = 7; }, 0, {}, "peças normais"},
        {[](auto& s) { s.Partes[4].Cima = -1; }, 0, {}, "0 a 52"},
        {[](auto& s) { s.Partes[5].Coluna = 0; }, 0, {}, "não é a sua"},
        {[](auto& s) { s.Partes[4].Esquerda = 9; }, 0, {}, "borda"},
        {[](auto& s) { s.Partes[0].Direita ^= 1; }, 0, {}, "não concordam"},
        {[](auto& s) { s.Partes[1].Baixo ^= 1; }, 0, {}, "não concordam"},
        {[](auto& s) { s.Partes[2].Encaixada = 1; }, 0, {}, "encaixada"},
        {[](auto& s) { s.PartesNaRolagem -= 1; }, 0, {}, "não estão encaixadas"},
        {[](auto& s) { s.PartesNaRolagem += 1; }, 0, {}, "não estão encaixadas"},
        {[](auto& s) { s.PartesRolagem[0] = 16; }, 0, {}, "não é peça"},
        {[](auto& s) { s.PartesRolagem[1] = s.PartesRolagem[0]; }, 0, {}, "repete"},
        {[](auto& s) { s.PartesRolagem[81] = 0; }, 0, {}, "depois da última"},
        {[](auto& s) { s.Partes[s.PartesRolagem[0]].Encaixada = VERDADEIRO;
                       s.Partes[s.PartesRolagemInicio[0]].Encaixada = 0; }, 0, {}, "já foi encaixada"},
        {[](auto& s) { s.PartesRolagemInicio[3] = s.PartesRolagemInicio[4]; }, 0, {}, "distribuídas repete"},
        {[](auto& s) { s.PartesRolagemInicio[15] = VAZIO; }, 0, {}, "distribuídas"},
        {{}, 0, "zpr 2.0 ", nullptr}, {{}, 1808, "x", "a mais"},
        {{}, 1484, P32({0}), "Tamanho da figura"}, {{}, 1484, P32({64 * 1024 * 1024 + 1}), "mais do que"},
        {{}, 1484, P32({301}), "incompleto"}, {{}, 1804, P16({1}), "peças pequenas"},
        {{}, 1806, P16({0x7FFF}), "adaptar"},
    };
    for (const auto& c : casos) {
        JogoSalvo s = JogoValido(4, 4, true, 3);
        if (c.mudar)
            c.mudar(s);
        const QByteArray b = CodificarZPR(s);
        const ResultadoZPR r = DecodificarZPR(b.left(c.pos) + c.remendo + b.mid(c.pos + c.remendo.size()));
        EXPECT_TRUE(!r.jogo && r.versaoIncorreta == !c.trecho && r.erro.contains(QString::fromUtf8(c.trecho)))
            << "case " << &c - casos << ": " << r.erro.toStdString();
    }
}

// A save that cannot happen says why; a missing file reads as one of another version; the
// stored extension names the picture but never leads out of its folder. (Games saved and
// read back whole, through the window, are the random walk's work.)
TEST(ArquivoZPR, GravacaoImpossivelEArquivoDaFigura)
{
    QTemporaryDir pasta;
    const QString semPasta = pasta.filePath(QStringLiteral("nao/existe.zpr"));
    EXPECT_EQ(GravarArquivoZPR(semPasta, JogoValido(5, 4, false, 6)), QStringLiteral("a pasta não existe"));
    EXPECT_FALSE(GetTempFileName(QStringLiteral("/../../x"), 5).mid(CaminhoTemp().size()).contains(QLatin1Char('/')));
}

// A game saved and opened again shows the same pieces, from every type of picture: the
// record formed from the file carries its bytes and its extension (a metafile is told by
// its extension, and shrunk where another picture would be cropped).
TEST(ArquivoZPR, SalvoReabreCadaTipoDeFiguraIgual)
{
    const QImage cores =
        Pintada(500, 300, [](int x, int y) { return qRgba(x % 256, y % 256, (x * y) % 256, 255 - x % 200); });
    const struct { const char* nome; QByteArray bytes; } figuras[] = {
        {"praia.bmp", Bmp(3, 2, 24, 0, {}, Bytes({0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}).repeated(2))},
        {"ondas.rle", RLE4}, {"sol.ico", Icone({{16, VERMELHO}, {48, AZUL}})}, {"seta.cur", Icone({{32, VERDE}}, 2)},
        {"paisaje.wmf", Ler("/pictures/Facil/paisaje.wmf")}, {"farol.emf", Ler("/tests/dados/farol.emf")},
        {"tigre.gif", Ler("/pictures/Facil/tigre.gif")}, {"puente.jpg", Ler("/pictures/Medio/puente.jpg")},
        {"cores.png", Codificar(cores, "png")},
    };
    const Opcoes opcoes{{2, false, false}}; // cropped, unless the picture is a metafile
    for (const auto& f : figuras) {
        SCOPED_TRACE(f.nome);
        Aleatorio rnd(3);
        QuebraCabeca novo = FormarQuebraCabeca(QLatin1String(f.nome), f.bytes, {}, opcoes, rnd);
        ASSERT_TRUE(novo.recusa.isEmpty()) << novo.recusa.toStdString();
        const ResultadoZPR lido = DecodificarZPR(CodificarZPR(novo.jogo));
        ASSERT_TRUE(lido.jogo) << lido.erro.toStdString();
        QuebraCabeca aberto = FormarSalvo(*lido.jogo, opcoes.BorderColor);
        EXPECT_TRUE(aberto.recusa.isEmpty());
        ASSERT_EQ(aberto.pecas.Quantas(), novo.pecas.Quantas());
        for (int i = 0; i < novo.pecas.Quantas(); ++i)
            EXPECT_EQ(aberto.pecas.Figura(i), novo.pecas.Figura(i)) << "piece " << i;
        EXPECT_EQ(aberto.miniatura, novo.miniatura);
    }
}
