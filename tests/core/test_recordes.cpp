// The best times: which puzzle a time belongs to, how times rank, the five kept per
// puzzle, the message line, and the table's file.
#include "figuras_de_teste.h"
#include "files/recordes.h"
#include "game/classificacao.h"
#include "records/aleatorio.h"
#include "game/partida.h"
#include "play/textos.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace zelpo;
using figuras_de_teste::Conteudo;
using figuras_de_teste::Gravar;

namespace {

const QDateTime INICIO(QDate(2025, 3, 1), QTime(20, 0), Qt::UTC);

Recorde Tempo(const char* chave, int32_t segundos, int minuto)
{
    return {QLatin1String(chave), segundos, INICIO.addSecs(60 * minuto), QStringLiteral("farol.jpg"), 2, 6, 5, false};
}

std::vector<int32_t> Segundos(const std::vector<Recorde>& rs)
{
    std::vector<int32_t> s;
    for (const Recorde& r : rs)
        s.push_back(r.Segundos);
    return s;
}

} // namespace

TEST(Recordes, OrdemCincoPorQuebraCabecaERecentes)
{
    TabelaRecordes t;
    // Each time and the place it takes; an equal time ranks after the older one.
    const struct { int32_t segundos; int posicao; } entradas[] = {
        {90, 1}, {60, 1}, {120, 3}, {60, 2}, {30, 1}, {200, 0}, {45, 2}, {90, 0},
    };
    int minuto = 0;
    for (const auto& e : entradas)
        EXPECT_EQ(t.Registrar(Tempo("a", e.segundos, ++minuto)), e.posicao) << e.segundos;
    EXPECT_EQ(Segundos(t.Melhores(QStringLiteral("a"))), (std::vector<int32_t>{30, 45, 60, 60, 90}));
    EXPECT_EQ(t.Melhores(QStringLiteral("a"))[2].Data, INICIO.addSecs(2 * 60)) << "the older 60 s first";
    // Another puzzle has five of its own; the newest ten of all come newest first.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(t.Registrar(Tempo("b", 400 - i, ++minuto)), 1);
    EXPECT_EQ(Segundos(t.Melhores(QStringLiteral("b"))), (std::vector<int32_t>{395, 396, 397, 398, 399}));
    EXPECT_EQ(Segundos(t.Recentes()), (std::vector<int32_t>{395, 396, 397, 398, 399, 45, 30, 60, 60, 90}));
}

TEST(Recordes, ChaveTextoEQuebraCabecaNovoOuAberto)
{
    const QByteArray figura("GIF89a figura qualquer");
    const QString chave = ChaveDoQuebraCabeca(figura, 6, 5, false, 2);
    for (const QString& outra : {ChaveDoQuebraCabeca(figura, 5, 6, false, 2), ChaveDoQuebraCabeca(figura, 6, 5, true, 2),
                                 ChaveDoQuebraCabeca(figura, 6, 5, false, 3),
                                 ChaveDoQuebraCabeca(figura + ' ', 6, 5, false, 2)})
        EXPECT_NE(outra, chave);
    EXPECT_EQ(TextoNovoRecorde(82, 1), QStringLiteral("Novo recorde: 00:01:22"));
    EXPECT_EQ(TextoNovoRecorde(82, 2), QStringLiteral("Seu 2º melhor tempo: 00:01:22"));
    EXPECT_EQ(TextoNovoRecorde(3723, 5), QStringLiteral("Seu 5º melhor tempo: 01:02:03"));
    EXPECT_EQ(TextoNovoRecorde(82, 0), QString());

    // A new puzzle and the same one opened from its saved game are one puzzle: the new
    // game's picture is in the bytes read, the opened one's in the record.
    Partida nova, aberta;
    Opcoes o;
    nova.NovaFigura(QStringLiteral("/figuras/farol.gif"), figura, o);
    nova.Cortada(6, 5, 0, 219);
    Aleatorio rnd;
    nova.SortearPartes(rnd);
    nova.IniciarJogo(0);
    EXPECT_EQ(RecordeDe(nova, INICIO).Chave, chave);
    EXPECT_EQ(RecordeDe(nova, INICIO).Nome, QStringLiteral("farol.gif"));
    JogoSalvo salvo = nova.Jogo();
    salvo.BytesFigura = figura;
    aberta.AbrirSalvo(QStringLiteral("/jogos/tarde.zpr"), QStringLiteral("/tmp/Tmp_1.gif"), salvo, o);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Chave, chave);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Nome, QStringLiteral("tarde.zpr"));
}

TEST(Recordes, ArquivoIdaEVoltaEDanificadoComecaVazio)
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.path() + QStringLiteral("/Brumas Vivas/recordes.json");
    Recorde r = Tempo("k", 82, 0);
    r.Nome = QStringLiteral("pôr do sol.jpg");
    r.Pequenas = true;
    EXPECT_EQ(RegistrarRecorde(arquivo, r).posicao, 1);
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo("k", 60, 1)).posicao, 1);
    const TabelaRecordes lida = LerRecordes(arquivo);
    ASSERT_EQ(lida.Todos().size(), 2u);
    EXPECT_EQ(lida.Todos()[0], r);

    const QByteArray bom = lida.Codificar();
    const QByteArray danos[] = {bom.left(bom.size() / 2), QByteArray(bom).replace("\"versao\": 1", "\"versao\": 9"),
                                QByteArray(bom).replace("\"segundos\": 60", "\"segundos\": -60")};
    for (const QByteArray& d : danos) {
        ASSERT_TRUE(Gravar(arquivo, d));
        EXPECT_TRUE(LerRecordes(arquivo).Todos().empty()) << d.constData();
        const ResultadoRecorde depois = RegistrarRecorde(arquivo, Tempo("k", 500, 2));
        EXPECT_EQ(depois.posicao, 1) << "a new table over it";
        EXPECT_TRUE(depois.erro.isEmpty());
    }
    // A time that is not kept leaves the file alone; one that cannot be written says why.
    for (int i = 0; i < 4; ++i)
        RegistrarRecorde(arquivo, Tempo("k", 10 + i, 3 + i));
    ASSERT_TRUE(Gravar(arquivo, LerRecordes(arquivo).Codificar() + "\n"));
    const QByteArray antes = LerRecordes(arquivo).Codificar() + "\n";
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo("k", 999, 9)).posicao, 0);
    EXPECT_EQ(Conteudo(arquivo), antes);
    EXPECT_FALSE(RegistrarRecorde(arquivo + QStringLiteral("/dentro"), r).erro.isEmpty());
}
