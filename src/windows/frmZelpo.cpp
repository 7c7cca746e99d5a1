#include "frmZelpo.h"

#include "Autor.h"
#include "CommonDialogCls.h"
#include "CoresSistema.h"
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Som.h"
#include "Superficie.h"
#include "files/associacao.h"
#include "files/configuracao.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "game/fontes.h"
#include "pieces/corte.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>

namespace zelpo {

namespace {
constexpr int INTERVALO_RELOGIO = 1000;
constexpr QRect RETANGULO_ROLAGEM(216, 4, 17, 425);
constexpr QRect RETANGULO_HORA(581, 4, 56, 14);
constexpr QSize TAMANHO_JANELA(640, 480);
} // namespace

frmZelpo::frmZelpo(Ambiente ambiente, QWidget* pai) : QMainWindow(pai), amb_(std::move(ambiente))
{
    // Form_Load, up to showing the window: options, size, controls, the generator.
    if (auto cfg = Configuracao())
        LerCFG(*cfg, modulo.opcoes);
    setWindowTitle(LegendaDoProduto());
    setWindowIcon(QIcon(QStringLiteral(":/janelas/zelpora.png")));
    setFont(FonteJanela());
    tela_ = new Superficie(this, this);
    setCentralWidget(tela_);
    CriarMenus();
    CriarControles();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (amb_.semente)
        rnd.Semear(*amb_.semente);
    else
        rnd.SemearPeloRelogio();
    qApp->installEventFilter(this);
}

frmZelpo::~frmZelpo()
{
    qApp->removeEventFilter(this);
}

QString frmZelpo::LegendaDoProduto()
{
    return QStringLiteral("Brumas Vivas - ") + QString::fromUtf8(TITULO_APLICACAO);
}

QFont frmZelpo::FonteJanela() const
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(PIXELS_FONTE_JANELA);
    f.setBold(true);
    return f;
}

int32_t frmZelpo::Ticks() const
{
    return amb_.ticks ? amb_.ticks() : ContagemTicks();
}

std::unique_ptr<QSettings> frmZelpo::Configuracao() const
{
    return amb_.configuracao ? amb_.configuracao() : AbrirConfiguracao();
}

void frmZelpo::CriarMenus()
{
    mnuJogo = menuBar()->addMenu(QStringLiteral("&Jogo"));
    connect(mnuJogo, &QMenu::aboutToShow, this, &frmZelpo::mnuJogo_Click);
    const auto item = [this](const QString& texto, QKeySequence atalho, auto acao) {
        QAction* a = mnuJogo->addAction(texto);
        a->setShortcut(atalho);
        connect(a, &QAction::triggered, this, acao);
        return a;
    };
    mnuJogoNovo = item(QStringLiteral("&Novo"), Qt::Key_F2, [this] { mnuJogoNovo_Click(); });
    mnuJogoAbrir = item(QStringLiteral("A&brir"), Qt::Key_F3, [this] { mnuJogoAbrir_Click(); });
    mnuJogoSalvar[0] = item(QStringLiteral("&Salvar"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { mnuJogoSalvar_Click(0); });
    mnuJogoSalvar[1] = item(QStringLiteral("Salvar &como..."), {}, [this] { mnuJogoSalvar_Click(1); });
    mnuJogo->addSeparator();
    mnuJogoVisualizar = item(QStringLiteral("&Visualizar"), Qt::Key_F9, [this] { mnuJogoVisualizar_Click(); });
    mnuJogoReiniciar = item(QStringLiteral("R&einiciar"), Qt::Key_F4, [this] { mnuJogoReiniciar_Click(); });
    mnuJogo->addSeparator();
    mnuJogoSair = item(QStringLiteral("Sai&r"), {}, [this] { mnuJogoSair_Click(); });

    mnuAjuda = menuBar()->addMenu(QStringLiteral("Aj&uda"));
    mnuAjudaAutor = mnuAjuda->addAction(QStringLiteral("&Autor"));
    connect(mnuAjudaAutor, &QAction::triggered, this, [this] { mnuAjudaAutor_Click(); });
}

void frmZelpo::CriarControles()
{
    for (int i = 0; i < MAX_PECAS; ++i)
        picParte_[i] = new PecaWidget(static_cast<int16_t>(i), this, tela_);

    vsbPartes = new QScrollBar(Qt::Vertical, tela_);
    vsbPartes->setObjectName(QStringLiteral("vsbPartes"));
    vsbPartes->setGeometry(RETANGULO_ROLAGEM);
    vsbPartes->setRange(0, 0);
    vsbPartes->setSingleStep(1);
    vsbPartes->setPageStep(geo.LinhasRolagem);
    vsbPartes->setEnabled(false);
    connect(vsbPartes, &QScrollBar::valueChanged, this, &frmZelpo::vsbPartes_Change);
    connect(vsbPartes, &QScrollBar::sliderMoved, this, &frmZelpo::vsbPartes_Scroll);

    picHora = new QLabel(tela_);
    picHora->setObjectName(QStringLiteral("picHora"));
    picHora->setGeometry(RETANGULO_HORA);
    picHora->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picHora->setFont(FonteJanela());
    picHora->setAutoFillBackground(true); // the window's own colour, so only the text shows

    tmrHora = new QTimer(this);
    tmrHora->setInterval(INTERVALO_RELOGIO);
    connect(tmrHora, &QTimer::timeout, this, &frmZelpo::tmrHora_Timer);

    picPreview = QImage(LADO_MINIATURA, LADO_MINIATURA, QImage::Format_RGB32);
    picPreview.fill(palette().color(QPalette::Window));
    som = new Som(this);
}

void frmZelpo::PosicionarJanela()
{
    const QScreen* tela = screen();
    if (!tela)
        return;
    const QRect area = tela->availableGeometry();
    if (tela->geometry().width() == TAMANHO_JANELA.width()) {
        showMaximized();
        return;
    }
    const QSize tamanho = frameGeometry().size();
    move(area.center() - QPoint(tamanho.width() / 2, tamanho.height() / 2));
}

void frmZelpo::Iniciar(const QString& linhaDeComando)
{
    show();
    PosicionarJanela();
    DesenharMoldura();
    AreaInicial();
    LimparTela();
    if (!linhaDeComando.isEmpty()) {
        QString caminho = linhaDeComando;
        if (caminho.startsWith(QLatin1Char('"')))
            caminho = caminho.mid(1, caminho.size() - 2);
        AbrirJogo(caminho);
        return;
    }
    if (amb_.associar)
        AssociarArquivo(QStringLiteral("zpr"), QStringLiteral("Jogo do Zelpora 3.0"),
                        amb_.programa.isEmpty() ? QCoreApplication::applicationFilePath() : amb_.programa,
                        amb_.icone.isEmpty() ? QStringLiteral("zelpora") : amb_.icone);
    NovoJogo();
}

void frmZelpo::mnuJogo_Click()
{
    const bool carregado = !jogo.ArquivoFigura.isEmpty();
    for (QAction* a : {mnuJogoSalvar[0], mnuJogoSalvar[1], mnuJogoVisualizar, mnuJogoReiniciar})
        a->setEnabled(carregado);
}

void frmZelpo::mnuJogoNovo_Click()
{
    SelecionarDificuldade(modulo, this);
    if (!modulo.Cancelado)
        NovoJogo();
}

void frmZelpo::mnuJogoVisualizar_Click()
{
    auto* janela = new frmPreview(modulo, picPreview, modulo.Colunas, modulo.Linhas, this);
    janela->show();
}

void frmZelpo::mnuAjudaAutor_Click()
{
    auto* janela = new Autor(this);
    janela->show();
}

void frmZelpo::mnuJogoReiniciar_Click()
{
    const auto resposta = MostrarMensagem(this, QMessageBox::Question, QStringLiteral("Reiniciar"),
                                          QStringLiteral("Você realmente deseja reiniciar o jogo?"),
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (resposta == QMessageBox::No)
        return;
    tela_->repaint();
    CursorEspera espera;
    ReiniciarJogo();
}

void frmZelpo::mnuJogoSair_Click()
{
    close();
}

bool frmZelpo::Form_Unload()
{
    som->PararSom();
    if (tmrHora->isActive()) {
        const auto resposta = MostrarMensagem(this, QMessageBox::Question, QStringLiteral("Sair"),
                                              QStringLiteral("Você deseja salvar o jogo?"),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (resposta == QMessageBox::Cancel)
            return false;
        if (resposta == QMessageBox::Yes)
            mnuJogoSalvar_Click(0);
    }
    if (auto cfg = Configuracao())
        SalvarCFG(*cfg, modulo.opcoes);
    LiberarDialogo();
    return true;
}

void frmZelpo::closeEvent(QCloseEvent* e)
{
    if (fechando_ || Form_Unload()) {
        fechando_ = true;
        e->accept();
        // every window of the game closes with the main one
        for (QWidget* janela : QApplication::topLevelWidgets())
            if (janela != this && janela->parentWidget() == this)
                janela->close();
    } else {
        e->ignore();
    }
}

bool frmZelpo::eventFilter(QObject* objeto, QEvent* evento)
{
    // The window sees every key before the control that has the focus, and never keeps it.
    // A key event travels up through the parents as the same object: take it at its first
    // receiver, the focused control (or the window when nothing of it has the focus).
    if (evento->type() == QEvent::KeyPress && objeto->isWidgetType()) {
        QWidget* primeiro = QApplication::focusWidget();
        if (!primeiro || primeiro->window() != this)
            primeiro = this;
        if (objeto != primeiro)
            return QMainWindow::eventFilter(objeto, evento);
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        Form_KeyDown(tecla->key(), tecla->modifiers());
    }
    return QMainWindow::eventFilter(objeto, evento);
}

} // namespace zelpo
