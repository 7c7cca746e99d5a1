#include "files/zpr.h"
#include "game/aleatorio.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <numeric>
#include <tuple>
#include <vector>

using namespace zelpo;

namespace {

// A consistent game: random inner edges, a random deal, the first `encaixadas` pieces of
// the deal placed and the others left in the tray in deal order.
JogoSalvo JogoValido(int colunas, int linhas, bool pequenas, int encaixadas, uint64_t semente)
{
    Aleatorio rnd(semente);
    JogoSalvo s;
    s.Colunas = static_cast<int16_t>(colunas);
    s.Linhas = static_cast<int16_t>(linhas);
    s.Pequenas = pequenas;
    s.Adaptar = false;
    s.Dificuldade = 3;
    Jogo& j = s.jogo;
    const int n = colunas * linhas;
    auto lado = [&] { return static_cast<int16_t>(1 + CLng(rnd.Rnd() * 51)); };
    for (int i = 0; i < n; ++i) {
        Parte& p = j.Partes[i];
        p.Coluna = static_cast<int16_t>(i % colunas);
        p.Linha = static_cast<int16_t>(i / colunas);
        if (p.Coluna + 1 < colunas)
            p.Direita = j.Partes[i + 1].Esquerda = lado();
        if (p.Linha + 1 < linhas)
            p.Baixo = j.Partes[i + colunas].Cima = lado();
    }
    std::vector<int16_t> deal(static_cast<size_t>(n));
    std::iota(deal.begin(), deal.end(), int16_t{0});
    for (int i = n - 1; i > 0; --i)
        std::swap(deal[i], deal[CLng(rnd.Rnd() * 1000) % (i + 1)]);
    for (int k = 0; k < n; ++k) {
        j.PartesRolagemInicio[k] = deal[k];
        if (k < encaixadas)
            j.Partes[deal[k]].Encaixada = VERDADEIRO;
        else
            j.PartesRolagem[k - encaixadas] = deal[k];
    }
    j.PartesNaRolagem = static_cast<int16_t>(n - encaixadas);
    j.TopoTabuleiro = 23;
    j.EsquerdaTabuleiro = 187;
    j.BytesFigura.clear();
    for (int i = 0; i < 300; ++i)
        j.BytesFigura.append(static_cast<char>(CLng(rnd.Rnd() * 255)));
    j.ExtensaoFigura = QStringLiteral(".jpg");
    j.PartesIniciais = 1;
    j.SegundosJogo = 3725;
    return s;
}

auto Campos(const JogoSalvo& s)
{
    const Jogo& j = s.jogo;
    return std::tie(j.PartesRolagem, j.PartesRolagemInicio, j.PartesNaRolagem, j.Partes,
                    j.TopoTabuleiro, j.EsquerdaTabuleiro, j.BytesFigura, j.ExtensaoFigura,
                    j.PartesIniciais, j.SegundosJogo, s.Colunas, s.Linhas, s.Dificuldade,
                    s.Pequenas, s.Adaptar);
}

int64_t LerLE(const QByteArray& b, qsizetype pos, int tamanho)
{
    uint64_t v = 0;
    for (int i = 0; i < tamanho; ++i)
        v |= uint64_t(uint8_t(b[pos + i])) << (8 * i);
    // sign-extend from the field's width
    const int bits = 8 * tamanho;
    return int64_t(v << (64 - bits)) >> (64 - bits);
}

void GravarLE(QByteArray& b, qsizetype pos, int tamanho, int64_t valor)
{
    for (int i = 0; i < tamanho; ++i)
        b[pos + i] = static_cast<char>((uint64_t(valor) >> (8 * i)) & 0xFF);
}

} // namespace

TEST(ArquivoZPR, CamposNosDeslocamentosDaTabela)
{
    JogoSalvo s = JogoValido(3, 2, false, 2, 7);
    s.jogo.BytesFigura = QByteArray("\xFF\xD8\xFF\xE0JFIF-data", 13);
    s.jogo.SegundosJogo = 100000;
    s.Pequenas = true;
    const QByteArray b = CodificarZPR(s);
    const int n = 13;
    ASSERT_EQ(b.size(), 1508 + n);
    EXPECT_EQ(b.left(8), QByteArray("ZPR 2.0 "));
    EXPECT_EQ(b.mid(1488, n), s.jogo.BytesFigura);
    EXPECT_EQ(b.mid(1488 + n, 8), QByteArray(".jpg    "));
    const Jogo& j = s.jogo;
    const Parte& p4 = j.Partes[4];
    const struct { qsizetype pos; int tamanho; int64_t valor; } campos[] = {
        {8, 2, j.PartesRolagem[0]}, {8 + 2 * 3, 2, j.PartesRolagem[3]}, {8 + 2 * 4, 2, -1}, {8 + 2 * 81, 2, -1},
        {172, 2, j.PartesRolagemInicio[0]}, {172 + 2 * 5, 2, j.PartesRolagemInicio[5]},
        {172 + 2 * 6, 2, -1}, {336, 2, 4},
        {338 + 14 * 4 + 0, 2, p4.Cima}, {338 + 14 * 4 + 2, 2, 0}, {338 + 14 * 4 + 4, 2, p4.Direita},
        {338 + 14 * 4 + 6, 2, p4.Esquerda}, {338 + 14 * 4 + 8, 2, 1}, {338 + 14 * 4 + 10, 2, 1},
        {338 + 14 * 4 + 12, 2, p4.Encaixada},
        {1472, 2, 3}, {1474, 2, 2}, {1476, 4, 23}, {1480, 4, 187}, {1484, 4, n},
        {1496 + n, 2, 1}, {1498 + n, 4, 100000}, {1502 + n, 2, 3}, {1504 + n, 2, -1}, {1506 + n, 2, 0},
    };
    for (const auto& c : campos)
        EXPECT_EQ(LerLE(b, c.pos, c.tamanho), c.valor) << "offset " << c.pos;
    EXPECT_EQ(b.mid(338 + 14 * 6, 14 * 75), QByteArray(14 * 75, '\0')); // records past the grid
}

TEST(ArquivoZPR, IdaEVoltaSemPerda)
{
    const struct { int c, l; bool pequenas; int encaixadas; QString ext; } casos[] = {
        {2, 2, false, 0, QStringLiteral(".gif")}, {6, 6, false, 10, QStringLiteral(".bmp")},
        {9, 9, true, 81, QString()},              {9, 2, true, 1, QStringLiteral(".12345678")},
    };
    for (const auto& c : casos) {
        JogoSalvo s = JogoValido(c.c, c.l, c.pequenas, c.encaixadas, uint64_t(c.c * 10 + c.l));
        s.jogo.ExtensaoFigura = c.ext;
        const QByteArray b = CodificarZPR(s);
        s.jogo.ExtensaoFigura = c.ext.left(8); // the stored field holds eight characters
        const ResultadoZPR r = DecodificarZPR(b);
        ASSERT_TRUE(r.jogo) << c.c << "x" << c.l << ": " << r.erro.toStdString();
        EXPECT_TRUE(Campos(*r.jogo) == Campos(s)) << c.c << "x" << c.l;
        EXPECT_EQ(CodificarZPR(*r.jogo), b);
    }
}

TEST(ArquivoZPR, Assinatura)
{
    const QByteArray valido = CodificarZPR(JogoValido(2, 3, false, 1, 3));
    const struct { QByteArray magica; bool aceita; } casos[] = {
        {"ZPR 2.0 ", true}, {" ZPR 2.0", true}, {"zpr 2.0 ", false}, {"ZPR 2.1 ", false},
        {"\tZPR 2.0", false}, {"ZPR2.0  ", false}, {"        ", false},
    };
    for (const auto& c : casos) {
        const ResultadoZPR r = DecodificarZPR(c.magica + valido.mid(8));
        EXPECT_EQ(bool(r.jogo), c.aceita) << c.magica.constData();
        EXPECT_EQ(r.versaoIncorreta, !c.aceita) << c.magica.constData();
    }
}

TEST(ArquivoZPR, TodoCorteDoArquivoERecusado)
{
    const QByteArray b = CodificarZPR(JogoValido(3, 3, false, 4, 5));
    for (qsizetype tamanho = 0; tamanho < b.size(); ++tamanho) {
        const ResultadoZPR r = DecodificarZPR(b.left(tamanho));
        ASSERT_FALSE(r.jogo) << tamanho;
        EXPECT_EQ(r.versaoIncorreta, tamanho < 8) << tamanho;
        EXPECT_EQ(r.erro.isEmpty(), tamanho < 8) << tamanho;
    }
    const ResultadoZPR r = DecodificarZPR(b + "x");
    EXPECT_FALSE(r.jogo);
    EXPECT_TRUE(r.erro.contains(QStringLiteral("a mais"))) << r.erro.toStdString();
}

TEST(ArquivoZPR, BytesTrocadosAoAcasoNaoDerrubam)
{
    const QByteArray original = CodificarZPR(JogoValido(4, 4, false, 5, 9));
    Aleatorio rnd(2024);
    int aceitos = 0;
    for (int i = 0; i < 4000; ++i) {
        QByteArray b = original;
        const int trocas = 1 + int(CLng(rnd.Rnd() * 3));
        for (int t = 0; t < trocas; ++t)
            b[qsizetype(rnd.Rnd() * double(b.size()))] = char(CLng(rnd.Rnd() * 255));
        const ResultadoZPR r = DecodificarZPR(b);
        if (r.jogo) {
            ++aceitos; // a change in a field that holds any value (picture, time, origin)
            EXPECT_EQ(CodificarZPR(*r.jogo).size(), b.size());
        } else {
            EXPECT_TRUE(r.versaoIncorreta || !r.erro.isEmpty());
        }
    }
    EXPECT_GT(aceitos, 0);
    EXPECT_LT(aceitos, 4000);
}

TEST(ArquivoZPR, CadaCampoRuimTemSuaMensagem)
{
    using Mudanca = std::function<void(JogoSalvo&)>;
    const struct { const char* nome; Mudanca mudar; const char* trecho; } casos[] = {
        {"grade 1 coluna", [](JogoSalvo& s) { s.Colunas = 1; }, "fora do limite"},
        {"grade 10 linhas", [](JogoSalvo& s) { s.Linhas = 10; }, "fora do limite"},
        {"7 colunas normais", [](JogoSalvo& s) { s.Pequenas = false; s.Colunas = 7; }, "peças normais"},
        {"código 53", [](JogoSalvo& s) { s.jogo.Partes[0].Direita = s.jogo.Partes[1].Esquerda = 53; }, "0 a 52"},
        {"código negativo", [](JogoSalvo& s) { s.jogo.Partes[4].Cima = -1; }, "0 a 52"},
        {"coluna trocada", [](JogoSalvo& s) { s.jogo.Partes[5].Coluna = 0; }, "não é a sua"},
        {"linha trocada", [](JogoSalvo& s) { s.jogo.Partes[0].Linha = 1; }, "não é a sua"},
        {"registro fora da grade", [](JogoSalvo& s) { s.jogo.Partes[80].Baixo = 3; }, "fora da grade"},
        {"vizinhos discordam", [](JogoSalvo& s) { s.jogo.Partes[0].Direita ^= 1; }, "não concordam"},
        {"vizinhos de cima e baixo", [](JogoSalvo& s) { s.jogo.Partes[7].Cima ^= 1; }, "não concordam"},
        {"borda recortada", [](JogoSalvo& s) { s.jogo.Partes[4].Esquerda = 9; }, "borda"},
        {"encaixada 1", [](JogoSalvo& s) { s.jogo.Partes[2].Encaixada = 1; }, "encaixada"},
        {"contagem errada", [](JogoSalvo& s) { s.jogo.PartesNaRolagem -= 1; }, "não estão encaixadas"},
        {"peça fora da grade", [](JogoSalvo& s) { s.jogo.PartesRolagem[0] = 16; }, "não é peça"},
        {"peça repetida", [](JogoSalvo& s) { s.jogo.PartesRolagem[1] = s.jogo.PartesRolagem[0]; }, "repete"},
        {"buraco na lista", [](JogoSalvo& s) { s.jogo.PartesRolagem[2] = VAZIO; }, "não é peça"},
        {"peça depois da última", [](JogoSalvo& s) { s.jogo.PartesRolagem[81] = 0; }, "depois da última"},
        {"peça encaixada na lista", [](JogoSalvo& s) {
             std::swap(s.jogo.Partes[s.jogo.PartesRolagem[0]].Encaixada,
                       s.jogo.Partes[s.jogo.PartesRolagemInicio[0]].Encaixada);
         }, "já foi encaixada"},
        {"distribuição repetida", [](JogoSalvo& s) { s.jogo.PartesRolagemInicio[3] = s.jogo.PartesRolagemInicio[4]; }, "distribuídas repete"},
        {"distribuição curta", [](JogoSalvo& s) { s.jogo.PartesRolagemInicio[15] = VAZIO; }, "distribuídas"},
        {"distribuição longa", [](JogoSalvo& s) { s.jogo.PartesRolagemInicio[16] = 3; }, "distribuídas"},
        {"4 peças iniciais", [](JogoSalvo& s) { s.jogo.PartesIniciais = 4; }, "peças iniciais"},
        {"peças iniciais negativas", [](JogoSalvo& s) { s.jogo.PartesIniciais = -1; }, "peças iniciais"},
        {"tempo negativo", [](JogoSalvo& s) { s.jogo.SegundosJogo = -1; }, "negativo"},
        {"dificuldade 0", [](JogoSalvo& s) { s.Dificuldade = 0; }, "Dificuldade"},
        {"dificuldade 4", [](JogoSalvo& s) { s.Dificuldade = 4; }, "Dificuldade"},
    };
    for (const auto& c : casos) {
        JogoSalvo s = JogoValido(4, 4, true, 3, 11);
        c.mudar(s);
        const ResultadoZPR r = DecodificarZPR(CodificarZPR(s));
        EXPECT_FALSE(r.jogo) << c.nome;
        EXPECT_FALSE(r.versaoIncorreta) << c.nome;
        EXPECT_TRUE(r.erro.contains(QString::fromUtf8(c.trecho))) << c.nome << ": " << r.erro.toStdString();
    }
}

TEST(ArquivoZPR, CamposBinariosRuins)
{
    const QByteArray valido = CodificarZPR(JogoValido(3, 3, false, 0, 2));
    const qsizetype n = valido.size() - 1508;
    const struct { qsizetype pos; int tamanho; int64_t valor; const char* trecho; } casos[] = {
        {1484, 4, 0, "Tamanho da figura"},
        {1484, 4, -5, "Tamanho da figura"},
        {1484, 4, 0x7FFFFFFF, "só tem mais"},
        {1484, 4, n + 21, "só tem mais"},
        {1484, 4, n + 1, "incompleto"},
        {1504 + n, 2, 1, "peças pequenas"},
        {1506 + n, 2, 0x7FFF, "adaptar"},
    };
    for (const auto& c : casos) {
        QByteArray b = valido;
        GravarLE(b, c.pos, c.tamanho, c.valor);
        const ResultadoZPR r = DecodificarZPR(b);
        EXPECT_FALSE(r.jogo) << c.trecho;
        EXPECT_TRUE(r.erro.contains(QString::fromUtf8(c.trecho))) << c.trecho << ": " << r.erro.toStdString();
    }
}

TEST(ArquivoZPR, GravarEReabrirDaOMesmoArquivo)
{
    QTemporaryDir pasta;
    const QString a = pasta.filePath(QStringLiteral("a.zpr")), b = pasta.filePath(QStringLiteral("b.zpr"));
    ASSERT_EQ(GravarArquivoZPR(a, JogoValido(5, 4, false, 6, 4)), QString());

    const ResultadoZPR lido = LerArquivoZPR(a);
    ASSERT_TRUE(lido.jogo) << lido.erro.toStdString();
    Jogo jogo;
    jogo.ArquivoFigura = QStringLiteral("/tmp/x.jpg");
    ModuloZelpo modulo;
    RestaurarJogoSalvo(*lido.jogo, jogo, modulo);
    EXPECT_EQ(jogo.ArquivoFigura, QStringLiteral("/tmp/x.jpg")); // not a stored field
    ASSERT_EQ(GravarArquivoZPR(b, MontarJogoSalvo(jogo, modulo)), QString());

    QFile fa(a), fb(b);
    EXPECT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) && fa.readAll() == fb.readAll());

    // A save that cannot happen names the file and leaves the old one alone.
    const QString semPasta = pasta.filePath(QStringLiteral("nao/existe.zpr"));
    const QString erro = GravarArquivoZPR(semPasta, *lido.jogo);
    EXPECT_TRUE(erro.contains(semPasta)) << erro.toStdString();
    EXPECT_TRUE(LerArquivoZPR(pasta.filePath(QStringLiteral("nenhum.zpr"))).versaoIncorreta);
    ASSERT_EQ(BytesParaImagem(pasta.filePath(QStringLiteral("curto.zpr")), "ZPR 2."), QString());
    EXPECT_TRUE(LerArquivoZPR(pasta.filePath(QStringLiteral("curto.zpr"))).versaoIncorreta);
}

TEST(ArquivoZPR, FiguraEntreArquivoEMemoria)
{
    QTemporaryDir pasta;
    const QString foto = pasta.filePath(QStringLiteral("foto.jpeg"));
    ASSERT_EQ(BytesParaImagem(foto, QByteArray("antigo, mais comprido")), QString());
    ASSERT_EQ(BytesParaImagem(foto, QByteArray("novo")), QString()); // replaces
    const struct { QString nome; bool encontrada; QByteArray bytes; QString ext; } casos[] = {
        {QStringLiteral("foto.jpeg"), true, "novo", QStringLiteral(".jpeg")},
        {QStringLiteral("sumiu.gif"), false, Jogo::Marcador(), QStringLiteral(".gif")},
        {QStringLiteral("vazia"), true, Jogo::Marcador(), QString()},
    };
    QFile(pasta.filePath(QStringLiteral("vazia"))).open(QIODevice::WriteOnly);
    for (const auto& c : casos) {
        const FiguraLida lida = ImagemParaBytes(pasta.filePath(c.nome));
        EXPECT_EQ(lida.encontrada, c.encontrada) << c.nome.toStdString();
        EXPECT_EQ(lida.bytes, c.bytes) << c.nome.toStdString();
        EXPECT_EQ(lida.extensao, c.ext) << c.nome.toStdString();
    }
    // A picture of zero bytes is saved as the placeholder, so N stays positive.
    JogoSalvo s = JogoValido(2, 2, false, 0, 1);
    s.jogo.BytesFigura.clear();
    const QByteArray b = CodificarZPR(s);
    EXPECT_EQ(b.size(), 1510);
    EXPECT_EQ(DecodificarZPR(b).jogo->jogo.BytesFigura, Jogo::Marcador());
}

TEST(ArquivoZPR, NomeTemporario)
{
    EXPECT_TRUE(CaminhoTemp().endsWith(QLatin1Char('/')));
    const QString nome = GetTempFileName(QStringLiteral(".jpg    "));
    EXPECT_TRUE(nome.startsWith(CaminhoTemp() + QStringLiteral("Tmp_"))) << nome.toStdString();
    EXPECT_TRUE(nome.endsWith(QStringLiteral(".jpg"))) << nome.toStdString();
    // A stored extension never leads out of the temporary folder.
    EXPECT_FALSE(GetTempFileName(QStringLiteral("/../../x")).mid(CaminhoTemp().size()).contains(QLatin1Char('/')));
}
