// How the game feels: start-up to a playable random puzzle, and one step of a drag over a
// full 9 x 9 board (move the piece and paint what changed).
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "frmZelpo.h"
#include "files/zpr.h"
#include "game/novojogo.h"
#include "pieces/corte.h"
#include "pieces/figura.h"
#include "pieces/formas.h"
#include "play/encaixe.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
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

// An 800 x 600 JPEG of a photo; with `ruido` the grain makes it about 300 KB.
QString FotoDeTeste(const QString& pasta, bool ruido)
{
    QImage foto = QImage(QStringLiteral(ZELPO_FONTE "/pictures/Medio/puente.jpg"))
                      .scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB32);
    if (ruido) {
        Aleatorio rnd(5);
        for (int y = 0; y < foto.height(); ++y)
            for (int x = 0; x < foto.width(); ++x) {
                const QRgb c = foto.pixel(x, y);
                const int d = static_cast<int>(rnd.Rnd() * 48) - 24;
                foto.setPixel(x, y, qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                                         std::clamp(qBlue(c) + d, 0, 255)));
            }
    }
    const QString caminho = pasta + (ruido ? QStringLiteral("/grande.jpg") : QStringLiteral("/foto.jpg"));
    foto.save(caminho, "JPG", ruido ? 97 : 90);
    return caminho;
}

// Picture file to shaped pieces: load, cut, draw the edges and deal, fill and shape.
void FiguraAtePecas(benchmark::State& estado, bool pequenas)
{
    QTemporaryDir tmp;
    const QString foto = FotoDeTeste(tmp.path(), false);
    Opcoes opcoes;
    opcoes.Pequenas = pequenas;
    opcoes.Adaptar = false; // cropped to the largest board: 9 x 9 small, 6 x 6 normal
    Aleatorio rnd(9);
    for (auto _ : estado) {
        ResultadoFigura lida = CarregarFigura(foto, AjusteDaFigura(opcoes, false));
        const Corte corte = CortarFigura(lida.figura->imagem, false, opcoes);
        Jogo jogo;
        FormarEstado(jogo, corte.Colunas, corte.Linhas, rnd);
        PecasMontadas pecas;
        for (int r = 0; r < corte.Linhas; ++r)
            for (int c = 0; c < corte.Colunas; ++c)
                pecas.figuras.push_back(QuadradoDaPeca(corte.canvas, c, r, corte.geo));
        MontarPecas(pecas, jogo.Partes, corte.Colunas, corte.Linhas, corte.geo, pequenas);
        benchmark::DoNotOptimize(pecas.mascara.constBits());
    }
}
void BM_FiguraAtePecas9x9Pequenas(benchmark::State& estado) { FiguraAtePecas(estado, true); }
void BM_FiguraAtePecas6x6Normais(benchmark::State& estado) { FiguraAtePecas(estado, false); }
BENCHMARK(BM_FiguraAtePecas9x9Pequenas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiguraAtePecas6x6Normais)->Unit(benchmark::kMillisecond);

// A game with a 300 KB picture: the file work of saving and reading it back, and
// opening it in the window until it is playable.
struct JogoSalvoGrande {
    QTemporaryDir tmp;
    QString zpr = tmp.path() + QStringLiteral("/jogo.zpr");
    std::unique_ptr<frmZelpo> w;

    JogoSalvoGrande()
    {
        DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
        for (const char* sub : {"Facil", "Medio", "Dificil"})
            QDir(tmp.path()).mkpath(QString::fromLatin1(sub));
        const QString foto = FotoDeTeste(tmp.path(), true);
        QFile::copy(foto, tmp.path() + QStringLiteral("/Medio/grande.jpg"));
        w = std::make_unique<frmZelpo>(AmbienteDeMedida(tmp.path(), tmp.path() + QStringLiteral("/cfg.ini")));
        w->Iniciar({});
        w->jogo.ArquivoJogo = zpr;
        w->ImagemParaBytes();
        w->SalvarZPR();
    }
    ~JogoSalvoGrande()
    {
        w.reset();
        DefinirRespondedor({});
    }
};

void BM_SalvarELerZPR300KB(benchmark::State& estado)
{
    JogoSalvoGrande g;
    const JogoSalvo salvo = MontarJogoSalvo(g.w->jogo, g.w->modulo);
    estado.counters["bytes"] = static_cast<double>(salvo.jogo.BytesFigura.size());
    for (auto _ : estado) {
        GravarArquivoZPR(g.zpr, salvo);
        benchmark::DoNotOptimize(LerArquivoZPR(g.zpr).jogo.has_value());
    }
}
BENCHMARK(BM_SalvarELerZPR300KB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AbrirZPRAteJogavel(benchmark::State& estado)
{
    JogoSalvoGrande g;
    for (auto _ : estado) {
        g.w->AbrirJogo(g.zpr);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AbrirZPRAteJogavel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
