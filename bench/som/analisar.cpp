// Reading the recording: where sound starts and ends, which request each start belongs
// to, and the delays of every output less paplay's, which stand for the recording's own.
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace zelpo::medida {

namespace {

constexpr int LIMIAR = 1000;           // of 32767: about -30 dB, far above the null sink's zeros
constexpr double SILENCIO = 0.02;      // a gap this long separates two sounds
constexpr double ANTES = 0.25;         // a start this much before its request still counts (clock offsets)
constexpr double SEM_PROXIMO = 3.5;    // window after the last request

struct Trecho {
    double inicio, fim;
};

struct Pedido {
    double t; // seconds from the recording's start
    QString rotulo, grupo, nome;
};

std::vector<Trecho> Trechos(const QString& caminho, double taxa)
{
    QFile arquivo(caminho);
    std::vector<Trecho> trechos;
    if (!arquivo.open(QIODevice::ReadOnly))
        return trechos;
    const QByteArray bruto = arquivo.readAll();
    const auto* a = reinterpret_cast<const int16_t*>(bruto.constData());
    const long n = long(bruto.size() / 2);
    const long lacuna = long(SILENCIO * taxa);
    long ultimo = -lacuna - 1;
    for (long i = 0; i < n; ++i) {
        if (std::abs(int(a[i])) <= LIMIAR)
            continue;
        if (i - ultimo > lacuna)
            trechos.push_back({i / taxa, i / taxa});
        trechos.back().fim = i / taxa;
        ultimo = i;
    }
    return trechos;
}

std::vector<Pedido> Pedidos(const QString& caminho, long long inicioNs)
{
    std::vector<Pedido> pedidos;
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly | QIODevice::Text))
        return pedidos;
    QTextStream in(&arquivo);
    while (!in.atEnd()) {
        const QStringList c = in.readLine().split(u' ');
        if (c.size() == 4 && !c[0].startsWith(u'#'))
            pedidos.push_back({(c[0].toLongLong() - inicioNs) / 1e9, c[1], c[2], c[3]});
    }
    return pedidos;
}

// The sound pieces that begin between a request and the next one.
std::vector<Trecho> Entre(const std::vector<Trecho>& trechos, double de, double ate)
{
    std::vector<Trecho> r;
    for (const Trecho& t : trechos)
        if (t.inicio >= de - ANTES && t.inicio < ate - ANTES)
            r.push_back(t);
    return r;
}

double Mediana(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Maximo(const std::vector<double>& v)
{
    return v.empty() ? NAN : *std::max_element(v.begin(), v.end());
}

struct Resultado {
    std::map<QString, std::vector<double>> atrasos; // by group: start (clique, fanfarra) or end
    std::map<QString, int> pedidos;
};

bool Grupo(const Pedido& p, const char* grupo)
{
    return p.grupo == QLatin1String(grupo);
}

// Where the sound ends among the pieces found from `de` to the next request.
std::optional<double> Fim(const std::vector<Trecho>& trechos, double de, double ate)
{
    const auto achados = Entre(trechos, de, ate);
    if (achados.empty())
        return std::nullopt;
    return std::max_element(achados.begin(), achados.end(), [](auto& a, auto& b) { return a.fim < b.fim; })->fim;
}

std::map<QString, Resultado> Medir(const std::vector<Pedido>& p, const std::vector<Trecho>& trechos)
{
    std::map<QString, Resultado> r;
    auto proximo = [&](size_t i) { return i + 1 < p.size() ? p[i + 1].t : p[i].t + SEM_PROXIMO; };
    for (size_t i = 0; i < p.size(); ++i) {
        const Pedido& pedido = p[i];
        Resultado& res = r[pedido.rotulo];
        auto anotar = [&](std::optional<double> atraso) {
            ++res.pedidos[pedido.grupo];
            if (atraso)
                res.atrasos[pedido.grupo].push_back(*atraso);
        };
        if (Grupo(pedido, "clique") || Grupo(pedido, "fanfarra")) {
            const auto achados = Entre(trechos, pedido.t, proximo(i));
            anotar(achados.empty() ? std::nullopt : std::optional(achados.front().inicio - pedido.t));
        } else if ((Grupo(pedido, "corte") || Grupo(pedido, "parada")) && !pedido.nome.startsWith(u'F')) {
            // The second request of a pair: the fanfare before it must end with it.
            const auto fim = Fim(trechos, p[i - 1].t, proximo(i));
            anotar(fim ? std::optional(*fim - pedido.t) : std::nullopt);
        } else if (Grupo(pedido, "rajada") && (i == 0 || !Grupo(p[i - 1], "rajada") || pedido.t - p[i - 1].t > 0.5)) {
            size_t ultimo = i;
            while (ultimo + 1 < p.size() && Grupo(p[ultimo + 1], "rajada") && p[ultimo + 1].t - p[ultimo].t < 0.5)
                ++ultimo;
            const auto achados = Entre(trechos, pedido.t, proximo(ultimo));
            const auto fim = Fim(trechos, pedido.t, proximo(ultimo));
            anotar(fim ? std::optional(*fim - achados.front().inicio) : std::nullopt);
        }
    }
    return r;
}

} // namespace

int Analisar(const QStringList& a)
{
    const auto trechos = Trechos(a[0], a[1].toDouble());
    auto pedidos = Pedidos(a[3], a[2].toLongLong());
    if (trechos.empty() || pedidos.empty())
        return 1;
    // The server hands the recorder what its sink has mixed, and the recording starts
    // when the recorder's stream does, so its clock is off the system's by some unknown
    // part of a second. It is silent until paplay's first click: that pair sets the two
    // clocks together, roughly, before anything is matched.
    const double acerto = trechos.front().inicio - pedidos.front().t;
    for (Pedido& p : pedidos)
        p.t += acerto;
    const auto resultados = Medir(pedidos, trechos);

    // paplay's own delay, click and fanfare apart, from its run before the output's;
    // its run after shows whether the recording kept time meanwhile.
    auto atrasos = [&](const char* rotulo, const char* grupo) {
        const auto r = resultados.find(QString::fromLatin1(rotulo));
        if (r == resultados.end())
            return std::vector<double>{};
        const auto g = r->second.atrasos.find(QString::fromLatin1(grupo));
        return g == r->second.atrasos.end() ? std::vector<double>{} : g->second;
    };
    const double cClique = Mediana(atrasos("paplay-antes", "clique"));
    const double cFanfarra = Mediana(atrasos("paplay-antes", "fanfarra"));
    const double deriva = Mediana(atrasos("paplay-depois", "clique")) - cClique;
    auto ms = [](const std::vector<double>& v, double c, bool maximo) {
        const double x = maximo ? Maximo(v) : Mediana(v);
        return std::isnan(x) ? QStringLiteral("-") : QString::number((x - c) * 1e3, 'f', 0);
    };
    // paplay's own row shows its spread about its median, which is the zero of the others.
    std::vector<QString> rotulos;
    for (const auto& [rotulo, res] : resultados)
        if (!rotulo.startsWith(QStringLiteral("paplay-")))
            rotulos.push_back(rotulo);
    rotulos.push_back(QStringLiteral("paplay-antes"));
    for (const QString& rotulo : rotulos) {
        const Resultado& res = resultados.at(rotulo);
        auto contagem = [&](const char* g) {
            const auto it = res.pedidos.find(QString::fromLatin1(g));
            return it == res.pedidos.end() ? 0 : it->second;
        };
        const auto clique = atrasos(qPrintable(rotulo), "clique"), fanfarra = atrasos(qPrintable(rotulo), "fanfarra");
        const QString nome = rotulo == QStringLiteral("paplay-antes") ? QStringLiteral("paplay (antes de %1)").arg(rotulos.front()) : rotulo;
        std::printf("| %s | %zu/%d | %s / %s | %s / %s (%zu/%d) | %s | %s | %s | %.0f |\n", qPrintable(nome),
                    clique.size(), contagem("clique"), qPrintable(ms(clique, cClique, false)),
                    qPrintable(ms(clique, cClique, true)), qPrintable(ms(fanfarra, cFanfarra, false)),
                    qPrintable(ms(fanfarra, cFanfarra, true)), fanfarra.size(), contagem("fanfarra"),
                    qPrintable(ms(atrasos(qPrintable(rotulo), "corte"), cClique, false)),
                    qPrintable(ms(atrasos(qPrintable(rotulo), "parada"), cClique, false)),
                    qPrintable(ms(atrasos(qPrintable(rotulo), "rajada"), 0, false)), deriva * 1e3);
    }
    return 0;
}

} // namespace zelpo::medida
