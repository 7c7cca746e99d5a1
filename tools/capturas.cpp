// Renders what the player sees to PNG files, offscreen: the main window at start-up, in
// the middle of a game and when complete (with its record), and every other window: the
// new-puzzle dialog, the colour and file dialogs, the preview, the rules, the about window,
// the best times, a question box and the question that offers a lost game back. Usage:
//   zelpo_capturas OUTPUT_FOLDER [PICTURE_FOLDER] [-style NAME]
// The game's classic style unless another is named, as in the game itself. Run with
// QT_SCALE_FACTOR=2, the pictures are those of a screen of twice the pixels.
#include "Autor.h"
#include "CommonDialogCls.h"
#include "Mensagem.h"
#include "Tabuleiro.h"
#include "frmComoJogar.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "frmRecordes.h"
#include "frmZelpo.h"
#include "CoresSistema.h"
#include "Idioma.h"
#include "play/encaixe.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace zelpo;

namespace {

// At another screen scale than 1 (QT_SCALE_FACTOR), the file's name tells it: meio-2x.png.
void Salvar(QWidget& w, const QString& pasta, const char* nome)
{
    QApplication::processEvents();
    QString arquivo = QLatin1String(nome);
    if (const qreal escala = w.devicePixelRatioF(); escala != 1)
        arquivo.replace(QStringLiteral(".png"), QStringLiteral("-%1x.png").arg(escala));
    w.grab().save(pasta + QLatin1Char('/') + arquivo);
}

// The top-left corner of a loose piece's picture, in the window.
QPoint CantoDaPeca(frmZelpo& w, int i)
{
    return w.tabuleiro().mapTo(&w, w.tabuleiro().Posicao(static_cast<int16_t>(i)));
}

// Presses the mouse on a piece's body, as the player does.
QPoint SobreAPeca(frmZelpo& w, int i)
{
    const int centro = w.partida().Geo().m() + w.partida().Geo().TamanhoParte / 2;
    const QPoint ponto = CantoDaPeca(w, i) + QPoint(centro, centro);
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, ponto);
    return ponto - CantoDaPeca(w, i);
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
        const QPoint alvo = w.tabuleiro().mapTo(&w, LugarVerdadeiro(j, p)) + pega;
        QTest::mouseMove(w.windowHandle(), alvo);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, alvo);
        return true;
    }
    return false;
}

// The question the Reiniciar command asks, as the game shows it.
void Pergunta(QWidget& dono, const QString& pasta)
{
    QMessageBox caixa(QMessageBox::Question, QStringLiteral("Reiniciar"),
                      QStringLiteral("Você realmente deseja reiniciar o jogo?"), QMessageBox::Yes | QMessageBox::No, &dono);
    caixa.setDefaultButton(QMessageBox::No);
    caixa.show();
    Salvar(caixa, pasta, "pergunta.png");
}

// A home of a player's own for the run, so that no picture shows a folder of the machine it
// was made on: <temporary folder>/ana, with the medium pictures in Imagens/, all of one
// date. HOME points there, so Qt's dialogs start from their defaults and name it in their
// side bar. Removed at the end, unless it was there before (then it is left alone and a
// fresh one is made elsewhere).
class CasaDoJogador {
public:
    CasaDoJogador()
    {
        caminho_ = QDir::tempPath() + QStringLiteral("/ana");
        if (QFileInfo::exists(caminho_))
            caminho_ = reserva_.path() + QStringLiteral("/ana");
        else
            criada_ = true;
        QDir().mkpath(Imagens());
        qputenv("HOME", QFile::encodeName(caminho_));
        for (const char* pasta : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            qunsetenv(pasta);
    }
    ~CasaDoJogador()
    {
        if (criada_)
            QDir(caminho_).removeRecursively();
    }
    CasaDoJogador(const CasaDoJogador&) = delete;
    CasaDoJogador& operator=(const CasaDoJogador&) = delete;

    QString Imagens() const { return caminho_ + QStringLiteral("/Imagens"); }

    // Copies of the medium pictures, all of one date.
    void Encher(const QString& figuras) const
    {
        const QDateTime data(QDate(2026, 3, 14), QTime(10, 30));
        const QDir medio(figuras + QStringLiteral("/Medio"));
        for (const QString& nome : medio.entryList(QDir::Files)) {
            const QString copia = Imagens() + QLatin1Char('/') + nome;
            QFile::copy(medio.filePath(nome), copia);
            QFile arquivo(copia);
            if (arquivo.open(QIODevice::ReadWrite))
                arquivo.setFileTime(data, QFileDevice::FileModificationTime);
        }
    }

private:
    QTemporaryDir reserva_;
    QString caminho_;
    bool criada_ = false;
};

// The Abrir dialog on the player's pictures, with the main window's filter.
void Abrir(frmZelpo& w, const QString& imagens, const QString& pasta)
{
    PedidoArquivo pedido;
    CommonDialogCls::DefinirRespostaArquivo([&](const PedidoArquivo& p) { return pedido = p, QString(); });
    w.findChild<QAction*>(QStringLiteral("mnuJogoAbrir"))->trigger();
    CommonDialogCls::DefinirRespostaArquivo({});
    const auto d = CriarDialogoArquivo(pedido, &w);
    d->setDirectory(imagens);
    d->show();
    const auto* lista = d->findChild<QListView*>(QStringLiteral("listView"));
    if (!QTest::qWaitFor([&] { return lista->model()->rowCount(lista->rootIndex()) > 0; }, 10000))
        std::fprintf(stderr, "the picture folder did not load: the Abrir picture shows it empty\n");
    Salvar(*d, pasta, "abrir.png");
}

// The colour dialog as the colour button opens it.
void EscolherCor(QWidget& dono, const QString& pasta)
{
    CommonDialogCls::DefinirRespostaCor([&](QColorDialog& d) {
        d.show();
        Salvar(d, pasta, "cor.png");
        return int(QDialog::Rejected);
    });
    Dialogo().PickColor(COR_BORDA_PADRAO, &dono);
    CommonDialogCls::DefinirRespostaCor({});
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList linha;
    for (int i = 0; i < argc; ++i)
        linha << QString::fromLocal8Bit(argv[i]);
    const bool estiloEscolhido = EstiloEscolhido(linha, qEnvironmentVariable("QT_STYLE_OVERRIDE"));
    const CasaDoJogador casa; // before anything reads HOME
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString saida = QString::fromLocal8Bit(argv[1]);
    const QString figuras = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(ZELPO_FONTE "/pictures");
    casa.Encher(figuras);
    QDir().mkpath(saida);
    FalarPortugues(); // the standard buttons and dialogs in Portuguese, as in the game
    AplicarAparenciaClassica(estiloEscolhido);
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
    // the game's clock, moved on by hand so that the pictures show a game that took time
    int32_t agora = 5'000'000;
    amb.ticks = [&agora] { return agora; };
    frmZelpo w(amb);
    const auto passar = [&](int segundos) {
        agora += segundos * 1000;
        QMetaObject::invokeMethod(&w, "tmrHora_Timer");
    };
    w.Iniciar({});
    Salvar(w, saida, "inicio.png");

    while (w.partida().Jogo().PartesIniciais > 0) {
        SobreAPeca(w, w.partida().Jogo().PartesRolagem[0]);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton);
    }
    for (int i = 0; i < 9 && ColocarUma(w); ++i) {
    }
    passar(207);
    // one piece held over the board, as in a drag
    SobreAPeca(w, w.partida().Jogo().PartesRolagem[1]);
    QTest::mouseMove(w.windowHandle(), QPoint(520, 300));
    Salvar(w, saida, "meio.png");
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, QPoint(520, 300));
    // the game menu as it drops down
    if (auto* menu = qobject_cast<QMenu*>(w.findChild<QAction*>(QStringLiteral("mnuJogoNovo"))->associatedObjects().value(0))) {
        menu->popup(w.mapToGlobal(QPoint(0, 0)));
        Salvar(*menu, saida, "menu.png");
        menu->hide();
    }

    w.findChild<QAction*>(QStringLiteral("mnuJogoVisualizar"))->trigger();
    if (auto* preview = w.findChild<frmPreview*>()) {
        Salvar(*preview, saida, "visualizar.png");
        preview->close();
    }

    passar(254);
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
        Salvar(pergunta, saida, "continuar.png");
    }

    w.findChild<QAction*>(QStringLiteral("mnuAjudaComoJogar"))->trigger();
    if (auto* regras = w.findChild<frmComoJogar*>()) {
        Salvar(*regras, saida, "comojogar.png");
        regras->close();
    }

    auto* autor = new Autor(&w);
    autor->show();
    Salvar(*autor, saida, "autor.png");
    autor->close();

    auto* gerar = new frmGerar(w.opcoes(), &w);
    gerar->show();
    Salvar(*gerar, saida, "gerar.png");
    EscolherCor(*gerar, saida);
    gerar->close();
    delete gerar;

    Pergunta(w, saida);
    Abrir(w, casa.Imagens(), saida);

    DefinirRespondedor([](const PedidoMensagem&) { return QMessageBox::No; });
    w.close();
    return 0;
}
