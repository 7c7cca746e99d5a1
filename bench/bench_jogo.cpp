// How the game feels: start-up to a playable random puzzle, and one step of a drag over a
// full 9 x 9 board (move the piece and paint what changed).
#include "CommonDialogCls.h"
#include "Mensagem.h"
#include "Tabuleiro.h"
#include "frmZelpo.h"
#include "files/zpr.h"
#include "pecas_da_figura.h"
#include "play/novojogo.h"
#include "pieces/corte.h"
#include "pictures/figura.h"
#include "pieces/formas.h"
#include "play/encaixe.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace zelpo;

namespace {

Ambiente AmbienteDeMedida(const QString& pasta, const QString& ini)
{
    Ambiente amb;
    amb.pastaPrograma = pasta;
    amb.associar = false;
    amb.arquivoConfiguracao = ini;
    return amb;
}

// Saves the game in play as `zpr`, the save dialog answered with that name.
void Salvar(frmZelpo& w, const QString& zpr)
{
    CommonDialogCls::DefinirRespostaArquivo([zpr](const PedidoArquivo&) { return zpr; });
    w.findChild<QAction*>(QStringLiteral("mnuJogoSalvar0"))->trigger();
    CommonDialogCls::DefinirRespostaArquivo({});
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
        benchmark::DoNotOptimize(w.partida().Jogo().PartesNaRolagem);
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
    // A saved game with every piece but the last on the board, opened as a player would.
    const QString zpr = tmp.path() + QStringLiteral("/quase.zpr");
    {
        frmZelpo novo(AmbienteDeMedida(tmp.path(), ini));
        novo.Iniciar({});
        Salvar(novo, zpr);
    }
    QFile arquivo(zpr);
    arquivo.open(QIODevice::ReadOnly);
    JogoSalvo quase = *DecodificarZPR(arquivo.readAll()).jogo;
    arquivo.close();
    const int16_t ultima = static_cast<int16_t>(quase.Pecas() - 1);
    for (int i = 0; i < ultima; ++i)
        quase.Partes[i].Encaixada = VERDADEIRO;
    quase.PartesRolagem = ListaVazia();
    quase.PartesRolagem[0] = ultima;
    quase.PartesNaRolagem = 1;
    quase.PartesIniciais = 0;
    GravarArquivoZPR(zpr, quase);
    frmZelpo w(AmbienteDeMedida(tmp.path(), ini));
    w.Iniciar(zpr);
    QApplication::processEvents();
    const QPoint pega = w.tabuleiro().mapTo(&w, w.tabuleiro().Posicao(ultima) + QPoint(40, 40));
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, pega);
    int passo = 0;
    for (auto _ : estado) {
        const QPoint ponto(300 + (passo % 100), 150 + (passo % 60));
        ++passo;
        QTest::mouseMove(w.windowHandle(), ponto);
        QApplication::processEvents();
    }
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, QPoint(300, 150));
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

// Picture file to shaped pieces.
void FiguraAtePecas(benchmark::State& estado, bool pequenas)
{
    QTemporaryDir tmp;
    const QString foto = FotoDeTeste(tmp.path(), false);
    Opcoes opcoes;
    opcoes.Pequenas = pequenas;
    opcoes.Adaptar = false; // cropped to the largest board: 9 x 9 small, 6 x 6 normal
    Aleatorio rnd(9);
    QString erro;
    for (auto _ : estado) {
        PecasMontadas pecas = PecasDaFigura(foto, opcoes, rnd, erro);
        pecas.FazerTodas();
        benchmark::DoNotOptimize(pecas.Figura(pecas.Quantas() - 1).constBits());
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
        Salvar(*w, zpr);
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
    const JogoSalvo salvo = g.w->partida().Jogo();
    estado.counters["bytes"] = static_cast<double>(salvo.BytesFigura.size());
    for (auto _ : estado) {
        GravarArquivoZPR(g.zpr, salvo);
        benchmark::DoNotOptimize(LerArquivoZPR(g.zpr).jogo.has_value());
    }
}
BENCHMARK(BM_SalvarELerZPR300KB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AbrirZPRAteJogavel(benchmark::State& estado)
{
    JogoSalvoGrande g;
    CommonDialogCls::DefinirRespostaArquivo([&g](const PedidoArquivo&) { return g.zpr; });
    QAction* abrir = g.w->findChild<QAction*>(QStringLiteral("mnuJogoAbrir"));
    for (auto _ : estado) {
        abrir->trigger();
        QApplication::processEvents();
    }
    CommonDialogCls::DefinirRespostaArquivo({});
}
BENCHMARK(BM_AbrirZPRAteJogavel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
