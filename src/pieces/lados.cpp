#include "pieces/lados.h"

#include "records/bytes.h"

#include <QFile>
#include <QString>

#include <algorithm>

namespace zelpo {

namespace {

constexpr int GRUPOS = 13;
constexpr int VARIANTES = 4;

// The sides' frames of one piece size: L is the last coordinate along a side, K the
// last across it.
struct Quadro {
    int L;
    int K;
};

struct Tabelas {
    std::array<ListaPontos, MAIOR_CODIGO_LADO + 1> h; // by code; 0 unused
    std::array<ListaPontos, MAIOR_CODIGO_LADO + 1> v;
};

Quadro QuadroPara(bool pequenas)
{
    const Geometria g = GeometriaPara(pequenas);
    return {g.TamanhoParte - 1, g.MargemParte - 1};
}

// The resource holds, for each group in turn, a 32-bit point count and the points as
// pairs of 32-bit x and y, all little-endian.
std::vector<ListaPontos> LerBases(const QString& recurso)
{
    QFile arquivo(recurso);
    const bool aberto = arquivo.open(QIODevice::ReadOnly);
    Q_ASSERT(aberto);
    const QByteArray dados = arquivo.readAll();
    const qsizetype fim = aberto ? dados.size() : 0;
    std::vector<ListaPontos> bases;
    qsizetype pos = 0;
    while (pos + 4 <= fim) {
        const qint32 n = LerS32(dados, pos);
        pos += 4;
        ListaPontos base;
        for (qint32 i = 0; i < n && pos + 8 <= fim; ++i, pos += 8)
            base.emplace_back(LerS32(dados, pos), LerS32(dados, pos + 4));
        bases.push_back(std::move(base));
    }
    Q_ASSERT(bases.size() == GRUPOS);
    return bases;
}

// The four orientations of a base outline. Turned and mirrored-along variants run
// backwards after the flip, so they are reversed to start again at x = 0.
ListaPontos Variante(const ListaPontos& base, int variante, const Quadro& q)
{
    ListaPontos r = base;
    const bool giraX = variante == 2 || variante == 4;
    const bool giraY = variante == 2 || variante == 3;
    for (QPoint& p : r)
        p = QPoint(giraX ? q.L - p.x() : p.x(), giraY ? q.K - p.y() : p.y());
    if (giraX)
        std::reverse(r.begin(), r.end());
    return r;
}

ListaPontos Transposta(const ListaPontos& lista)
{
    ListaPontos r = lista;
    for (QPoint& p : r)
        p = p.transposed();
    return r;
}

// Code 4G - 4 + v of group G is variant v of the base; the vertical table of a code is
// the transposed horizontal table of its partner 4G + 1 - v, so a vertical code's knob
// turns the same way round the piece as the horizontal one's.
Tabelas MontarTabelas(bool pequenas)
{
    const Quadro q = QuadroPara(pequenas);
    const std::vector<ListaPontos> bases =
        LerBases(pequenas ? QStringLiteral(":/lados/pequenas.bin") : QStringLiteral(":/lados/normal.bin"));
    Tabelas t;
    for (int g = 1; g <= GRUPOS && g <= static_cast<int>(bases.size()); ++g)
        for (int v = 1; v <= VARIANTES; ++v)
            t.h[4 * g - 4 + v] = Variante(bases[g - 1], v, q);
    for (int g = 1; g <= GRUPOS; ++g)
        for (int v = 1; v <= VARIANTES; ++v)
            t.v[4 * g - 4 + v] = Transposta(t.h[4 * g + 1 - v]);
    return t;
}

const Tabelas& TabelasPara(bool pequenas)
{
    static const Tabelas normal = MontarTabelas(false);
    static const Tabelas pequenasTabelas = MontarTabelas(true);
    return pequenas ? pequenasTabelas : normal;
}

} // namespace

ListaPontos CarregarLado(int codigo, bool horizontal, bool pequenas)
{
    if (codigo < CODIGO_RETO || codigo > MAIOR_CODIGO_LADO)
        return {};
    ListaPontos lista;
    if (codigo == CODIGO_RETO) {
        const Geometria g = GeometriaPara(pequenas);
        const int m = g.m();
        const int fim = g.TamanhoParte - 1;
        lista = horizontal ? ListaPontos{{0, m}, {fim, m}} : ListaPontos{{m, 0}, {m, fim}};
    } else {
        const Tabelas& t = TabelasPara(pequenas);
        lista = horizontal ? t.h[codigo] : t.v[codigo];
    }
    lista.resize(lista.size() + PONTOS_DE_FECHO, QPoint(0, 0));
    return lista;
}

int16_t SortearLado(Aleatorio& rnd)
{
    constexpr double ESCALA_SORTEIO = 100000.0;
    return static_cast<int16_t>(CLng(rnd.Rnd() * ESCALA_SORTEIO) % CODIGOS_SORTEADOS + 1);
}

void SortearLados(TabelaPartes& partes, int colunas, int linhas, Aleatorio& rnd)
{
    partes.fill(Parte{});
    for (int r = 0; r < linhas; ++r) {
        for (int c = 0; c < colunas; ++c) {
            const int i = r * colunas + c;
            partes[i].Coluna = static_cast<int16_t>(c);
            partes[i].Linha = static_cast<int16_t>(r);
            partes[i].Encaixada = FALSO;
            if (r < linhas - 1) {
                partes[i].Baixo = SortearLado(rnd);
                partes[i + colunas].Cima = partes[i].Baixo;
            }
            if (c < colunas - 1) {
                partes[i].Direita = SortearLado(rnd);
                partes[i + 1].Esquerda = partes[i].Direita;
            }
        }
    }
}

} // namespace zelpo
