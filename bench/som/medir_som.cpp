// How soon a sound is heard. "tocar" plays the click and the fanfares through one sound
// output on a fixed schedule and logs the moment of every request; bench/som/medir_som.sh
// records the sound server's monitor meanwhile, and "analisar" finds each sound's start
// and end in the recording and reports the delays, calibrated against paplay.
//
//   zelpo_medir_som tocar <modo> <registro> [--rotulo R] [--intervalo S] [--cliques N]
//   zelpo_medir_som analisar <gravacao s16le mono> <amostras por segundo> <início ns> <registro>
#include "reprodutores.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <vector>

namespace zelpo::medida {

int Analisar(const QStringList& argumentos); // analisar.cpp

namespace {

constexpr double ESPERA_INICIAL = 1.5; // the output opens its device meanwhile
constexpr double INTERVALO_FANFARRA = 4.5;
constexpr double INTERVALO_PROVA = 4.0;
constexpr double ATRASO_DO_CORTE = 0.6; // into the fanfare, when the click or the silence comes
constexpr double PASSO_DA_RAJADA = 0.04;
constexpr int CLIQUES_DA_RAJADA = 10;
constexpr int PROVAS = 3;
constexpr double ESPERA_FINAL = 3.5;

struct Passo {
    double segundos;
    const char* grupo;
    QString nome; // empty to stop
};

std::vector<Passo> Roteiro(int cliques, double intervalo, int fanfarras, bool sabeParar)
{
    std::vector<Passo> r;
    double t = ESPERA_INICIAL;
    const QString clique = QStringLiteral("ENCAIXE"), fim1 = QStringLiteral("FIM1"), fim2 = QStringLiteral("FIM2");
    for (int i = 0; i < cliques; ++i, t += intervalo)
        r.push_back({t, "clique", clique});
    for (int i = 0; i < fanfarras; ++i, t += INTERVALO_FANFARRA)
        r.push_back({t, "fanfarra", i % 2 ? fim2 : fim1});
    if (!sabeParar)
        return r;
    // The last fit's click and the fanfare, the other way round: a click into a
    // fanfare must end it, so the sound stops a click's length after the request.
    for (int i = 0; i < PROVAS; ++i, t += INTERVALO_PROVA) {
        r.push_back({t, "corte", fim1});
        r.push_back({t + ATRASO_DO_CORTE, "corte", clique});
    }
    for (int i = 0; i < PROVAS; ++i, t += INTERVALO_PROVA) {
        r.push_back({t, "parada", fim2});
        r.push_back({t + ATRASO_DO_CORTE, "parada", {}});
    }
    // Quick fits: ten clicks 40 ms apart last 0.45 s when each restarts the click and
    // 0.9 s when they queue.
    for (int i = 0; i < PROVAS; ++i, t += INTERVALO_PROVA / 2)
        for (int j = 0; j < CLIQUES_DA_RAJADA; ++j)
            r.push_back({t + j * PASSO_DA_RAJADA, "rajada", clique});
    return r;
}

long long Agora()
{
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

struct Opcoes {
    QString rotulo;
    double intervalo = 1.0;
    int cliques = 50;
    int fanfarras = 5;
};

Opcoes LerOpcoes(const QStringList& a, const QString& modo)
{
    Opcoes o{modo};
    for (int i = 0; i + 1 < a.size(); i += 2) {
        if (a[i] == QStringLiteral("--rotulo"))
            o.rotulo = a[i + 1];
        else if (a[i] == QStringLiteral("--intervalo"))
            o.intervalo = a[i + 1].toDouble();
        else if (a[i] == QStringLiteral("--cliques"))
            o.cliques = a[i + 1].toInt();
        else if (a[i] == QStringLiteral("--fanfarras"))
            o.fanfarras = a[i + 1].toInt();
    }
    return o;
}

int Tocar(const QString& modo, const QString& caminho, const Opcoes& opcoes)
{
    auto reprodutor = CriarReprodutor(modo);
    if (!reprodutor) {
        std::fprintf(stderr, "modo desconhecido: %s (há: %s)\n", qPrintable(modo), qPrintable(Modos().join(u' ')));
        return 2;
    }
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::Append | QIODevice::Text))
        return 2;
    QTextStream registro(&arquivo);
    const auto roteiro = Roteiro(opcoes.cliques, opcoes.intervalo, opcoes.fanfarras, reprodutor->SabeParar());
    const long long inicio = Agora();
    size_t proximo = 0;
    // Each step is timed from the start, not from the step before, so delays in the
    // event loop do not add up.
    std::function<void()> agendar = [&] {
        if (proximo == roteiro.size()) {
            registro << "# " << opcoes.rotulo << " dispositivo " << reprodutor->Dispositivo() << '\n';
            QTimer::singleShot(int(ESPERA_FINAL * 1000), qApp, &QCoreApplication::quit);
            return;
        }
        const long long alvo = inicio + (long long)(roteiro[proximo].segundos * 1e9);
        QTimer::singleShot(std::max(0LL, (alvo - Agora()) / 1'000'000), Qt::PreciseTimer, qApp, [&] {
            const Passo& p = roteiro[proximo++];
            registro << Agora() << ' ' << opcoes.rotulo << ' ' << p.grupo << ' '
                     << (p.nome.isEmpty() ? QStringLiteral("-") : p.nome) << '\n';
            if (p.nome.isEmpty())
                reprodutor->Parar();
            else
                reprodutor->Tocar(p.nome);
            agendar();
        });
    };
    agendar();
    return QCoreApplication::exec();
}

} // namespace

} // namespace zelpo::medida

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments().mid(1);
    if (a.size() >= 3 && a[0] == QStringLiteral("tocar"))
        return zelpo::medida::Tocar(a[1], a[2], zelpo::medida::LerOpcoes(a.mid(3), a[1]));
    if (a.size() == 5 && a[0] == QStringLiteral("analisar"))
        return zelpo::medida::Analisar(a.mid(1));
    std::fprintf(stderr, "uso: zelpo_medir_som tocar <modo> <registro> [opções] | analisar <gravação> <taxa> <início ns> <registro>\n"
                         "modos: %s\n", qPrintable(zelpo::medida::Modos().join(u' ')));
    return 2;
}
