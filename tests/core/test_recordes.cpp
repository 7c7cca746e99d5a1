// The best times: which puzzle a time belongs to, how times rank, the five kept per
// puzzle, the message line, and the table's file.
#include "files/recordes.h"
#include "game/aleatorio.h"
#include "game/partida.h"
#include "game/textos.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zelpo;

namespace {

const QDateTime INICIO(QDate(2025, 3, 1), QTime(20, 0), Qt::UTC);

Recorde Tempo(const QString& chave, int32_t segundos, int minutosDepois)
{
    Recorde r;
    r.Chave = chave;
    r.Segundos = segundos;
    r.Data = INICIO.addSecs(60 * minutosDepois);
    r.Nome = QStringLiteral("farol.jpg");
    r.Dificuldade = 2;
    r.Colunas = 6;
    r.Linhas = 5;
    return r;
}

std::vector<int32_t> Segundos(const std::vector<Recorde>& rs)
{
    std::vector<int32_t> s;
    for (const Recorde& r : rs)
        s.push_back(r.Segundos);
    return s;
}

void Escrever(const QString& arquivo, const QByteArray& bytes)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

} // namespace

TEST(Recordes, OrdemCincoPorQuebraCabecaERecentes)
{
    TabelaRecordes t;
    const QString a = QStringLiteral("a"), b = QStringLiteral("b");
    // time, then the place it takes; an equal time ranks after the older one
    const struct { int32_t segundos; int posicao; } entradas[] = {
        {90, 1}, {60, 1}, {120, 3}, {60, 2}, {30, 1}, {200, 0}, {45, 2}, {90, 0}, {91, 0},
    };
    int minuto = 0;
    for (const auto& e : entradas)
        EXPECT_EQ(t.Registrar(Tempo(a, e.segundos, ++minuto)), e.posicao) << e.segundos;
    EXPECT_EQ(Segundos(t.Melhores(a)), (std::vector<int32_t>{30, 45, 60, 60, 90}));
    EXPECT_EQ(t.Melhores(a)[2].Data, INICIO.addSecs(60 * 2)) << "the older of two equal times first";
    EXPECT_EQ(t.Melhores(a)[4].Data, INICIO.addSecs(60 * 1)) << "the newer 90 s did not push out the older";
    // Another puzzle has its own five, whatever the first one holds.
    EXPECT_EQ(t.Registrar(Tempo(b, 500, ++minuto)), 1);
    EXPECT_EQ(t.Melhores(b).size(), 1u);
    EXPECT_EQ(t.Todos().size(), 6u);
    for (int i = 0; i < 6; ++i)
        t.Registrar(Tempo(b, 400 - i, ++minuto));
    EXPECT_EQ(Segundos(t.Melhores(b)), (std::vector<int32_t>{395, 396, 397, 398, 399}));
    // The ten newest of all puzzles, newest first.
    const std::vector<Recorde> recentes = t.Recentes();
    ASSERT_EQ(recentes.size(), 10u);
    EXPECT_EQ(recentes[0].Segundos, 395);
    EXPECT_EQ(recentes[4].Segundos, 399);
    EXPECT_EQ(recentes[5].Segundos, 45) << "after b's five, a's newest kept time";
    for (size_t i = 1; i < recentes.size(); ++i)
        EXPECT_GE(recentes[i - 1].Data, recentes[i].Data);
}

TEST(Recordes, ChaveDaFiguraGradeTamanhoEDificuldade)
{
    const QByteArray figura("GIF89a figura qualquer");
    const QString chave = ChaveDoQuebraCabeca(figura, 6, 5, false, 2);
    EXPECT_EQ(ChaveDoQuebraCabeca(QByteArray(figura), 6, 5, false, 2), chave);
    for (const QString& outra : {ChaveDoQuebraCabeca(figura, 5, 6, false, 2), ChaveDoQuebraCabeca(figura, 6, 5, true, 2),
                                 ChaveDoQuebraCabeca(figura, 6, 5, false, 3),
                                 ChaveDoQuebraCabeca(figura + ' ', 6, 5, false, 2)})
        EXPECT_NE(outra, chave);

    // A new puzzle and the same puzzle opened from its saved game are one puzzle: the new
    // game's picture is in the bytes read, the opened one's in the record.
    Partida nova;
    Opcoes o;
    nova.NovaFigura(QStringLiteral("/figuras/farol.gif"), figura, o);
    nova.Cortada(6, 5, 0, 219);
    Aleatorio rnd;
    rnd.Semear(3);
    nova.SortearPartes(rnd);
    nova.IniciarJogo(0);
    const Recorde r = RecordeDe(nova, INICIO);
    EXPECT_EQ(r.Chave, chave);
    EXPECT_EQ(r.Nome, QStringLiteral("farol.gif"));
    JogoSalvo salvo = nova.Jogo();
    salvo.BytesFigura = figura;
    Partida aberta;
    aberta.AbrirSalvo(QStringLiteral("/jogos/tarde.zpr"), QStringLiteral("/tmp/Tmp_1.gif"), salvo, o);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Chave, chave);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Nome, QStringLiteral("tarde.zpr"));
}

TEST(Recordes, TextoDaLinhaDeMensagem)
{
    EXPECT_EQ(TextoNovoRecorde(82, 1), QStringLiteral("Novo recorde: 00:01:22"));
    EXPECT_EQ(TextoNovoRecorde(82, 2), QStringLiteral("Novo recorde: 00:01:22 (2º melhor tempo)"));
    EXPECT_EQ(TextoNovoRecorde(3725, 5), QStringLiteral("Novo recorde: 01:02:05 (5º melhor tempo)"));
    EXPECT_EQ(TextoNovoRecorde(82, 0), QString());
}

TEST(Recordes, ArquivoIdaEVoltaEDanificadoComecaVazio)
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.path() + QStringLiteral("/dados/Brumas Vivas/recordes.json");
    Recorde r = Tempo(QStringLiteral("k"), 82, 0);
    r.Nome = QStringLiteral("pôr do sol.jpg");
    r.Pequenas = true;
    ResultadoRecorde primeiro = RegistrarRecorde(arquivo, r);
    EXPECT_EQ(primeiro.posicao, 1);
    EXPECT_TRUE(primeiro.erro.isEmpty());
    EXPECT_EQ(LerRecordes(arquivo).Todos(), std::vector<Recorde>{r});
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo(QStringLiteral("k"), 60, 1)).posicao, 1);
    EXPECT_EQ(Segundos(LerRecordes(arquivo).Melhores(QStringLiteral("k"))), (std::vector<int32_t>{60, 82}));

    const QByteArray bom = LerRecordes(arquivo).Codificar();
    QByteArray semVersao = bom;
    semVersao.replace("\"versao\": 1", "\"versao\": 9");
    QByteArray campoRuim = bom;
    campoRuim.replace("\"segundos\": 60", "\"segundos\": -60");
    QByteArray dataRuim = bom;
    dataRuim.replace("2025-03-01", "2025-13-01");
    const QByteArray danos[] = {bom.left(bom.size() / 2), "lixo", semVersao, campoRuim, dataRuim, ""};
    for (const QByteArray& d : danos) {
        Escrever(arquivo, d);
        EXPECT_TRUE(LerRecordes(arquivo).Todos().empty()) << d.constData();
        // the next record starts a new table over it
        ResultadoRecorde depois = RegistrarRecorde(arquivo, Tempo(QStringLiteral("k"), 500, 2));
        EXPECT_EQ(depois.posicao, 1);
        EXPECT_TRUE(depois.erro.isEmpty());
        EXPECT_EQ(LerRecordes(arquivo).Todos().size(), 1u);
    }
    // A time that is not kept leaves the file as it was; one that cannot be written says why.
    for (int i = 0; i < 5; ++i)
        RegistrarRecorde(arquivo, Tempo(QStringLiteral("k"), 10 + i, 3 + i));
    Escrever(arquivo, LerRecordes(arquivo).Codificar() + "\n");
    const QByteArray antes = LerRecordes(arquivo).Codificar() + "\n";
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo(QStringLiteral("k"), 999, 9)).posicao, 0);
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antes);
    const QString bloqueado = pasta.path() + QStringLiteral("/arquivo/recordes.json");
    Escrever(pasta.path() + QStringLiteral("/arquivo"), "a file where a folder should be");
    ResultadoRecorde falha = RegistrarRecorde(bloqueado, r);
    EXPECT_EQ(falha.posicao, 1);
    EXPECT_FALSE(falha.erro.isEmpty());
}
