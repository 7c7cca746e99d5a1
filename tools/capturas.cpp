// Renders what the player sees to PNG files, offscreen: the main window at start-up, in
// the middle of a game and when complete, and the dialogs. Usage:
//   zelpo_capturas OUTPUT_FOLDER [PICTURE_FOLDER]
#include "Autor.h"
#include "Mensagem.h"
#include "PecaWidget.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "frmZelpo.h"
#include "CoresSistema.h"
#include "game/fontes.h"
#include "play/encaixe.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

using namespace zelpo;

namespace {

void Salvar(QWidget& w, const QString& pasta, const char* nome)
{
    QApplication::processEvents();
    w.grab().save(pasta + QLatin1Char('/') + QLatin1String(nome));
}

// Drops one loose piece that has a placed neighbour on its place; false when none has.
bool ColocarUma(frmZelpo& w)
{
    for (int s = 0; s < w.jogo.PartesNaRolagem; ++s) {
        const int16_t p = w.jogo.PartesRolagem[s];
        if (!TemVizinhoEncaixado(w.jogo, w.modulo.Colunas, w.modulo.Linhas, p))
            continue;
        w.picParte_MouseDown(p, Qt::LeftButton, {}, QPointF(57, 57));
        const QPoint alvo = LugarVerdadeiro(w.jogo, w.geo, p) + QPoint(57, 57);
        w.Form_MouseMove(Qt::LeftButton, {}, alvo);
        w.Form_MouseUp(Qt::LeftButton, {}, alvo);
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
    amb.configuracao = [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); };
    frmZelpo w(amb);
    w.Iniciar({});
    Salvar(w, saida, "inicio.png");

    for (int i = 0; i < 2; ++i)
        w.picParte_MouseDown(w.jogo.PartesRolagem[i], Qt::LeftButton, {}, QPointF(57, 57));
    for (int i = 0; i < 9 && ColocarUma(w); ++i) {
    }
    // one piece held over the board, as in a drag
    const int16_t segurada = w.jogo.PartesRolagem[1];
    w.picParte_MouseDown(segurada, Qt::LeftButton, {}, QPointF(57, 57));
    w.Form_MouseMove(Qt::LeftButton, {}, QPoint(520, 300));
    Salvar(w, saida, "meio.png");
    w.Form_MouseUp(Qt::LeftButton, {}, QPoint(520, 300));

    auto* preview = new frmPreview(w.modulo, w.picPreview, w.modulo.Colunas, w.modulo.Linhas, &w);
    preview->show();
    Salvar(*preview, saida, "visualizar.png");
    preview->close();

    while (ColocarUma(w)) {
    }
    Salvar(w, saida, "completo.png");

    auto* autor = new Autor(&w);
    autor->show();
    Salvar(*autor, saida, "autor.png");
    autor->close();

    auto* gerar = new frmGerar(w.modulo, &w);
    gerar->show();
    Salvar(*gerar, saida, "gerar.png");
    gerar->close();
    delete gerar;

    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    w.close();
    return 0;
}
