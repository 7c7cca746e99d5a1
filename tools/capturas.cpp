// Renders what the player sees to PNG files, offscreen: the main window at start-up, in
// the middle of a game and when complete (with its record), the dialogs, the best times
// and the question that offers a lost game back. Usage:
//   zelpo_capturas OUTPUT_FOLDER [PICTURE_FOLDER]
#include "Autor.h"
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Superficie.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "frmRecordes.h"
#include "frmZelpo.h"
#include "CoresSistema.h"
#include "game/fontes.h"
#include "play/encaixe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace zelpo;

namespace {

void Salvar(QWidget& w, const QString& pasta, const char* nome)
{
    QApplication::processEvents();
    w.grab().save(pasta + QLatin1Char('/') + QLatin1String(nome));
}

PecaWidget* Peca(frmZelpo& w, int i)
{
    return w.findChild<PecaWidget*>(QStringLiteral("picParte%1").arg(i));
}

// Presses the mouse on a piece's body, as the player does.
QPoint SobreAPeca(frmZelpo& w, int i)
{
    const int centro = w.partida().Geo().m() + w.partida().Geo().TamanhoParte / 2;
    const QPoint ponto = Peca(w, i)->mapTo(&w, QPoint(centro, centro));
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, ponto);
    return ponto - Peca(w, i)->mapTo(&w, QPoint(0, 0));
}

// Drops one loose piece that has a placed neighbour on its place; false when none has.
bool ColocarUma(frmZelpo& w)
{
    const JogoSalvo& j = w.partida().Jogo();
    for (int s = 0; s < j.PartesNaRolagem; ++s) {
        const int16_t p = j.PartesRolagem[s];
        if (!TemVizinhoEncaixado(j, p))
            continue;
        const QPoint pega = SobreAPeca(w, p);
        const QPoint alvo = w.findChild<Superficie*>()->mapTo(&w, LugarVerdadeiro(j, p)) + pega;
        QTest::mouseMove(w.windowHandle(), alvo);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, alvo);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString saida = QString::fromLocal8Bit(argv[1]);
    const QString figuras = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(ZELPO_FONTE "/pictures");
    QDir().mkpath(saida);
    MapearFontes();
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(PIXELS_FONTE_JANELA);
    QApplication::setFont(fonte);
    AplicarPaletaClassica();
    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });

    QTemporaryDir tmp;
    const QString ini = tmp.path() + QStringLiteral("/cfg.ini");
    {
        QSettings cfg(ini, QSettings::IniFormat);
        cfg.setValue(QStringLiteral("Zelpora 3.0/Dificuldade"), QStringLiteral("2"));
    }
    Ambiente amb;
    amb.pastaPrograma = figuras;
    amb.semente = 2026;
    amb.associar = false;
    amb.arquivoConfiguracao = ini;
    amb.pastaRecuperacao = tmp.path() + QStringLiteral("/recuperacao");
    amb.arquivoRecordes = tmp.path() + QStringLiteral("/recordes.json");
    frmZelpo w(amb);
    w.Iniciar({});
    Salvar(w, saida, "inicio.png");

    while (w.partida().Jogo().PartesIniciais > 0) {
        SobreAPeca(w, w.partida().Jogo().PartesRolagem[0]);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton);
    }
    for (int i = 0; i < 9 && ColocarUma(w); ++i) {
    }
    // one piece held over the board, as in a drag
    SobreAPeca(w, w.partida().Jogo().PartesRolagem[1]);
    QTest::mouseMove(w.windowHandle(), QPoint(520, 300));
    Salvar(w, saida, "meio.png");
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, QPoint(520, 300));

    w.findChild<QAction*>(QStringLiteral("mnuJogoVisualizar"))->trigger();
    if (auto* preview = w.findChild<frmPreview*>()) {
        Salvar(*preview, saida, "visualizar.png");
        preview->close();
    }

    while (ColocarUma(w)) {
    }
    Salvar(w, saida, "completo.png");

    w.findChild<QAction*>(QStringLiteral("mnuAjudaRecordes"))->trigger();
    if (auto* recordes = w.findChild<frmRecordes*>()) {
        Salvar(*recordes, saida, "recordes.png");
        recordes->close();
    }
    {
        QMessageBox pergunta(QMessageBox::Question, QStringLiteral("Zelpora 3.0"),
                             QStringLiteral("O Zelpora foi fechado com um jogo em andamento. Deseja continuar esse jogo?"),
                             QMessageBox::Yes | QMessageBox::No, &w);
        pergunta.show();
        Salvar(pergunta, saida, "pergunta.png");
    }

    auto* autor = new Autor(&w);
    autor->show();
    Salvar(*autor, saida, "autor.png");
    autor->close();

    ModuloZelpo modulo;
    modulo.opcoes = w.opcoes();
    auto* gerar = new frmGerar(modulo, &w);
    gerar->show();
    Salvar(*gerar, saida, "gerar.png");
    gerar->close();
    delete gerar;

    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    w.close();
    return 0;
}
