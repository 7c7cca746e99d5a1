// The best times: which puzzle a time belongs to, how times rank, the five kept per
// puzzle, the message line, and the table's file.
#include "figuras_de_teste.h"
#include "files/recordes.h"
#include "game/classificacao.h"
#include "game/partida.h"
#include "play/textos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/wait.h>
#include <unistd.h>

using namespace zelpo;
using namespace figuras_de_teste;

namespace {

const QDateTime INICIO(QDate(2025, 3, 1), QTime(20, 0), Qt::UTC);
constexpr int REGISTROS_POR_PROGRAMA = 60;

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
    // (The places as the message line draws them: the window's test.)
    EXPECT_EQ(TextoNovoRecorde(82, 0), QString());

    // A new puzzle and the same one opened from its saved game are one puzzle: the new
    // game's picture is in the bytes read (the window's test), the opened one's in the record.
    JogoSalvo formado = JogoNovo(6, 5, 2, 1);
    formado.BytesFigura = figura;
    Partida aberta;
    aberta.AbrirSalvo(QStringLiteral("/jogos/tarde.zpr"), QStringLiteral("/tmp/Tmp_1.gif"), formado, 0);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Chave, chave);
    EXPECT_EQ(RecordeDe(aberta, INICIO).Nome, QStringLiteral("tarde.zpr"));
}

TEST(Recordes, ArquivoIdaEVoltaDanosEExcesso)
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

    // A record that cannot be read is left out; a table that cannot be read is put aside
    // whole under a dated name, and a new one begun.
    const QByteArray bom = lida.Codificar();
    const struct { QByteArray bytes; bool posta; size_t mantidos; } danos[] = {
        {QByteArray(bom).replace("\"segundos\": 60", "\"segundos\": \"60\""), false, 2},
        {QByteArray(bom).replace("\"segundos\": 60", "\"segundos\": -60"), false, 2},
        {bom.left(bom.size() / 2), true, 1},
        {QByteArray(bom).replace("\"versao\": 1", "\"versao\": 9"), true, 1},
        {QByteArray(MAIOR_TABELA_LIDA + 1, ' '), true, 1},
    };
    for (const auto& d : danos) {
        ASSERT_TRUE(Gravar(arquivo, d.bytes));
        const ResultadoRecorde depois = RegistrarRecorde(arquivo, Tempo("k", 500, 2));
        EXPECT_EQ(depois.posicao, d.posta ? 1 : 2) << d.bytes.left(80).constData();
        EXPECT_TRUE(depois.erro.isEmpty());
        EXPECT_EQ(LerRecordes(arquivo).Todos().size(), d.mantidos);
        EXPECT_EQ(!depois.guardadaComo.isEmpty(), d.posta);
        if (d.posta) {
            EXPECT_TRUE(depois.guardadaComo.endsWith(QStringLiteral(".danificado")));
            EXPECT_EQ(Conteudo(depois.guardadaComo), d.bytes);
        }
    }
    // A time that is not kept leaves the file alone; one that cannot be written says why.
    for (int i = 0; i < 4; ++i)
        RegistrarRecorde(arquivo, Tempo("k", 10 + i, 3 + i));
    const QByteArray antes = LerRecordes(arquivo).Codificar() + "\n";
    ASSERT_TRUE(Gravar(arquivo, antes));
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo("k", 999, 9)).posicao, 0);
    EXPECT_EQ(Conteudo(arquivo), antes);
    EXPECT_FALSE(RegistrarRecorde(arquivo + QStringLiteral("/dentro"), r).erro.isEmpty());

    // Past its size the table keeps the puzzles played last, each with its best times.
    QJsonArray lista;
    for (int i = 0; lista.size() * 200 < MAIOR_TABELA; ++i)
        for (int t = 0; t < 2; ++t)
            lista.append(QJsonObject{{"chave", QStringLiteral("q%1").arg(i)}, {"segundos", 100 + t},
                                     {"data", INICIO.addSecs(i).toString(Qt::ISODateWithMs)}, {"nome", "farol.jpg"},
                                     {"dificuldade", 2}, {"colunas", 6}, {"linhas", 5}, {"pequenas", false}});
    const QJsonObject raiz{{"formato", "Zelpora recordes"}, {"versao", 1}, {"recordes", lista}};
    ASSERT_TRUE(Gravar(arquivo, QJsonDocument(raiz).toJson()));
    const TabelaRecordes grande = LerRecordes(arquivo);
    ASSERT_EQ(grande.Todos().size(), size_t(lista.size()));
    EXPECT_EQ(RegistrarRecorde(arquivo, Tempo("k", 5, 100'000)).posicao, 1);
    const TabelaRecordes aparada = LerRecordes(arquivo);
    EXPECT_LE(aparada.Codificar().size(), MAIOR_TABELA);
    EXPECT_GT(aparada.Codificar().size(), MAIOR_TABELA * 8 / 10);
    EXPECT_EQ(aparada.Recentes().front().Chave, QStringLiteral("k"));
    const QString ultima = grande.Recentes().front().Chave;
    EXPECT_EQ(Segundos(aparada.Melhores(ultima)), (std::vector<int32_t>{100, 101}));
}

// This program and a copy of it forked record times of their own at once, each through
// the table's lock.
TEST(Recordes, DoisProgramasAoMesmoTempoGuardamTudo)
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("recordes.json"));
    const pid_t filho = fork();
    const QString nome = QString::number(getpid()) + QLatin1Char('-');
    int recusados = 0;
    for (int i = 0; i < REGISTROS_POR_PROGRAMA; ++i)
        recusados += RegistrarRecorde(arquivo, Tempo(qPrintable(nome + QString::number(i)), 60, i)).posicao != 1;
    if (filho == 0)
        _exit(recusados);
    int estado = -1;
    waitpid(filho, &estado, 0);
    EXPECT_TRUE(recusados == 0 && WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << recusados << ", " << estado;
    EXPECT_EQ(LerRecordes(arquivo).Todos().size(), 2u * REGISTROS_POR_PROGRAMA);
}
