// How the game feels: start-up to a playable random puzzle, and one step of a drag over a
// full 9 x 9 board (move the piece and paint what changed).
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "frmZelpo.h"
#include "play/encaixe.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

using namespace zelpo;

namespace {

Ambiente AmbienteDeMedida(const QString& pasta, const QString& ini)
{
    Ambiente amb;
    amb.pastaPrograma = pasta;
    amb.associar = false;
    amb.configuracao = [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); };
    return amb;
}

void BM_InicioAteJogavel(benchmark::State& estado)
{
    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    QTemporaryDir tmp;
    const QString ini = tmp.path() + QStringLiteral("/cfg.ini");
    for (auto _ : estado) {
        frmZelpo w(AmbienteDeMedida(QStringLiteral(ZELPO_FONTE "/pictures"), ini));
        w.Iniciar({});
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.jogo.PartesNaRolagem);
    }
    DefinirRespondedor({});
}
BENCHMARK(BM_InicioAteJogavel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_PassoDeArrasto9x9(benchmark::State& estado)
{
    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    QTemporaryDir tmp;
    for (const char* sub : {"Facil", "Medio", "Dificil"})
        QDir(tmp.path()).mkpath(QString::fromLatin1(sub));
    QImage figura(QStringLiteral(ZELPO_FONTE "/pictures/Medio/puente.jpg"));
    figura.scaled(378, 378).save(tmp.path() + QStringLiteral("/Medio/f.jpg"));
    const QString ini = tmp.path() + QStringLiteral("/cfg.ini");
    {
        QSettings cfg(ini, QSettings::IniFormat);
        cfg.setValue(QStringLiteral("Zelpora 3.0/Pequenas"), QStringLiteral("True"));
    }
    frmZelpo w(AmbienteDeMedida(tmp.path(), ini));
    w.Iniciar({});
    // Every piece but the last on the board.
    w.jogo.PartesIniciais = 0;
    for (int i = 0; i < 80; ++i) {
        w.jogo.Partes[i].Encaixada = VERDADEIRO;
        w.ParteOk(static_cast<int16_t>(i));
    }
    PecaWidget* peca = w.picParte(80);
    peca->show();
    w.arrasto = Arrasto{80, 10, 10};
    QApplication::processEvents();
    int passo = 0;
    for (auto _ : estado) {
        const QPoint ponto(300 + (passo % 100), 150 + (passo % 60));
        ++passo;
        w.Form_MouseMove(Qt::LeftButton, {}, ponto);
        QApplication::processEvents();
    }
    DefinirRespondedor({});
}
BENCHMARK(BM_PassoDeArrasto9x9)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
