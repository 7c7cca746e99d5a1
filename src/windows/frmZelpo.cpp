#include "frmZelpo.h"

#include "Autor.h"
#include "Centralizador.h"
#include "CommonDialogCls.h"
#include "Mensagem.h"
#include "PecaWidget.h"
#include "Som.h"
#include "Superficie.h"
#include "files/arquivos.h"
#include "files/associacao.h"
#include "files/configuracao.h"
#include "files/recuperacao.h"
#include "frmComoJogar.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "fontes.h"
#include "records/produto.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace zelpo {

namespace {
constexpr int INTERVALO_RELOGIO = 1000;
constexpr QRect RETANGULO_ROLAGEM(216, 4, 17, 425);
constexpr QRect RETANGULO_HORA(581, 4, 56, 14);
constexpr QSize TAMANHO_JANELA(640, 480);
} // namespace

frmZelpo::frmZelpo(Ambiente ambiente, QWidget* pai)
    : QMainWindow(pai), amb_(std::move(ambiente)),
      salvaguarda_(amb_.pastaRecuperacao.isEmpty() ? PastaRecuperacao() : amb_.pastaRecuperacao)
{
    // Form_Load, up to showing the window: options, size, controls, the generator.
    LerCFG(ArquivoConfiguracao(), modulo_.opcoes);
    setWindowTitle(LegendaDoProduto());
    setWindowIcon(QIcon(QStringLiteral(":/janelas/zelpora.png")));
    setFont(FonteJanela());
    tela_ = new Superficie(this);
    setCentralWidget(tela_);
    CriarMenus();
    CriarControles();
    CriarSalvaguarda();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (amb_.semente)
        rnd_.Semear(*amb_.semente);
    else
        rnd_.SemearPeloRelogio();
    partida_.AoMudar([this] { AplicarEstado(); });
    AplicarEstado();
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

frmZelpo::~frmZelpo()
{
    qApp->removeEventFilter(this);
}

QString frmZelpo::LegendaDoProduto()
{
    return QString::fromUtf8(FABRICANTE) + QStringLiteral(" - ") + QString::fromUtf8(TITULO_APLICACAO);
}

QFont frmZelpo::FonteJanela()
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

QString frmZelpo::ArquivoConfiguracao() const
{
    return amb_.arquivoConfiguracao.isEmpty() ? CaminhoConfiguracao() : amb_.arquivoConfiguracao;
}

void frmZelpo::CriarMenus()
{
    mnuJogo_ = menuBar()->addMenu(QStringLiteral("&Jogo"));
    const auto item = [this](const char* nome, const QString& texto, QKeySequence atalho, auto acao) {
        QAction* a = mnuJogo_->addAction(texto);
        a->setObjectName(QLatin1String(nome));
        a->setShortcut(atalho);
        connect(a, &QAction::triggered, this, acao);
        return a;
    };
    mnuJogoNovo_ = item("mnuJogoNovo", QStringLiteral("&Novo"), Qt::Key_F2, [this] { mnuJogoNovo_Click(); });
    mnuJogoAbrir_ = item("mnuJogoAbrir", QStringLiteral("A&brir"), Qt::Key_F3, [this] { mnuJogoAbrir_Click(); });
    mnuJogoSalvar_[0] = item("mnuJogoSalvar0", QStringLiteral("&Salvar"), QKeySequence(Qt::CTRL | Qt::Key_S),
                             [this] { mnuJogoSalvar_Click(0); });
    mnuJogoSalvar_[1] = item("mnuJogoSalvar1", QStringLiteral("Salvar &como..."), {}, [this] { mnuJogoSalvar_Click(1); });
    mnuJogo_->addSeparator();
    mnuJogoVisualizar_ = item("mnuJogoVisualizar", QStringLiteral("&Visualizar"), Qt::Key_F9,
                              [this] { mnuJogoVisualizar_Click(); });
    mnuJogoReiniciar_ = item("mnuJogoReiniciar", QStringLiteral("R&einiciar"), Qt::Key_F4,
                             [this] { mnuJogoReiniciar_Click(); });
    mnuJogo_->addSeparator();
    mnuJogoSair_ = item("mnuJogoSair", QStringLiteral("Sai&r"), {}, [this] { mnuJogoSair_Click(); });

    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("Aj&uda"));
    QAction* comoJogar = ajuda->addAction(QStringLiteral("&Como jogar"), Qt::Key_F1, this, [this] { MostrarComoJogar(this); });
    comoJogar->setObjectName(QStringLiteral("mnuAjudaComoJogar"));
    mnuAjudaAutor_ = ajuda->addAction(QStringLiteral("&Autor"));
    mnuAjudaAutor_->setObjectName(QStringLiteral("mnuAjudaAutor"));
    connect(mnuAjudaAutor_, &QAction::triggered, this, [this] { mnuAjudaAutor_Click(); });
    mnuAjudaRecordes_ = ajuda->addAction(QStringLiteral("&Recordes"));
    mnuAjudaRecordes_->setObjectName(QStringLiteral("mnuAjudaRecordes"));
    connect(mnuAjudaRecordes_, &QAction::triggered, this, [this] { mnuAjudaRecordes_Click(); });

    // The bar writes its titles as the menus write their items, not in the window's bold.
    QFont fonteMenu = QApplication::font(mnuJogo_);
    fonteMenu.setBold(false);
    menuBar()->setFont(fonteMenu);
}

void frmZelpo::CriarControles()
{
    for (int i = 0; i < MAX_PECAS; ++i) {
        auto* peca = new PecaWidget(static_cast<int16_t>(i), tela_);
        connect(peca, &PecaWidget::pressionada, this, &frmZelpo::picParte_MouseDown);
        connect(peca, &PecaWidget::movida, this, &frmZelpo::Form_MouseMove);
        connect(peca, &PecaWidget::solta, this, [this] { Form_MouseUp(); });
        picParte_[i] = peca;
    }
    connect(tela_, &Superficie::movida, this, &frmZelpo::Form_MouseMove);
    connect(tela_, &Superficie::solta, this, [this] { Form_MouseUp(); });
    connect(tela_, &Superficie::roda, this, &frmZelpo::Form_Wheel);

    vsbPartes_ = new QScrollBar(Qt::Vertical, tela_);
    vsbPartes_->setObjectName(QStringLiteral("vsbPartes"));
    vsbPartes_->setGeometry(RETANGULO_ROLAGEM);
    vsbPartes_->setRange(0, 0);
    vsbPartes_->setSingleStep(1);
    vsbPartes_->setPageStep(partida_.Geo().LinhasRolagem);
    vsbPartes_->setEnabled(false);
    // the tray follows the thumb live while it is dragged, and every change of the value
    connect(vsbPartes_, &QScrollBar::valueChanged, this, &frmZelpo::vsbPartes_Change);

    picHora_ = new QLabel(tela_);
    picHora_->setObjectName(QStringLiteral("picHora"));
    picHora_->setGeometry(RETANGULO_HORA);
    picHora_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picHora_->setFont(FonteJanela());
    picHora_->setAutoFillBackground(true); // the window's own colour, so only the text shows

    tmrHora_ = new QTimer(this);
    tmrHora_->setObjectName(QStringLiteral("tmrHora"));
    tmrHora_->setInterval(INTERVALO_RELOGIO);
    connect(tmrHora_, &QTimer::timeout, this, &frmZelpo::tmrHora_Timer);

    picPreview_ = QImage(LADO_MINIATURA, LADO_MINIATURA, QImage::Format_RGB32);
    picPreview_.fill(palette().color(QPalette::Window));
    som_ = new Som(this);
}

// The menus and the clock follow the game's state, after every command.
void frmZelpo::AplicarEstado()
{
    const MenusJogo menus = MenusPara(partida_.Estado());
    mnuJogoSalvar_[0]->setEnabled(menus.Salvar);
    mnuJogoSalvar_[1]->setEnabled(menus.SalvarComo);
    mnuJogoVisualizar_->setEnabled(menus.Visualizar);
    mnuJogoReiniciar_->setEnabled(menus.Reiniciar);
    if (!partida_.EmJogo())
        tmrHora_->stop();
    else if (!tmrHora_->isActive())
        tmrHora_->start();
    tmrCopia_->start();
}

// Shows the window: maximised on a screen exactly as wide as the window, centred on the
// screen, frame included, elsewhere.
void frmZelpo::PosicionarJanela()
{
    const QScreen* tela = screen();
    if (tela && tela->geometry().width() == TAMANHO_JANELA.width()) {
        // a fixed size would keep the window manager from maximising it
        layout()->setSizeConstraint(QLayout::SetMinimumSize);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showMaximized();
        return;
    }
    Centralizador::Centrar(this);
    show();
}

void frmZelpo::Iniciar(const QString& linhaDeComando)
{
    // The sound output opens once the player sees the game, never before.
    connect(tela_, &Superficie::pintada, som_, &Som::Preparar,
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
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
    if (OferecerRecuperacao())
        return;
    if (amb_.associar) {
        // Nothing the player sees depends on the registration: it waits for the first paint.
        const QString programa = amb_.programa.isEmpty() ? QCoreApplication::applicationFilePath() : amb_.programa;
        const QString icone = amb_.icone.isEmpty() ? QStringLiteral("zelpora") : amb_.icone;
        connect(tela_, &Superficie::pintada, this, [programa, icone] {
            AssociarArquivo(QStringLiteral("zpr"), QStringLiteral("Jogo do Zelpora 3.0"), programa, icone);
        }, static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    NovoJogo();
}

void frmZelpo::mnuJogoNovo_Click()
{
    SelecionarDificuldade(modulo_, this);
    if (!modulo_.Cancelado)
        NovoJogo();
}

void frmZelpo::mnuJogoVisualizar_Click()
{
    const JogoSalvo& j = partida_.Jogo();
    auto* janela = new frmPreview(modulo_, picPreview_, j.Colunas, j.Linhas, this);
    janela->show();
}

void frmZelpo::mnuAjudaAutor_Click()
{
    auto* janela = new Autor(this);
    janela->show();
}

void frmZelpo::mnuJogoReiniciar_Click()
{
    if (partida_.Estado() == EstadoJogo::SemJogo)
        return;
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
    som_->PararSom();
    if (partida_.EmJogo()) {
        const auto resposta = MostrarMensagem(this, QMessageBox::Question, QStringLiteral("Sair"),
                                              QStringLiteral("Você deseja salvar o jogo?"),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (resposta == QMessageBox::Cancel)
            return false;
        // a save that failed keeps the program open: the game must not be lost with it
        if (resposta == QMessageBox::Yes && mnuJogoSalvar_Click(0) == ResultadoSalvar::Falhou)
            return false;
    }
    salvaguarda_.Descartar(); // an orderly end: nothing is left to take back
    if (const QString erro = SalvarCFG(ArquivoConfiguracao(), modulo_.opcoes); !erro.isEmpty())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"),
                        MensagemDeGravacao(ArquivoConfiguracao(), erro));
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
    if (!objeto->isWidgetType())
        return QMainWindow::eventFilter(objeto, evento);
    // The wheel would scroll the tray under the piece in hand.
    if (evento->type() == QEvent::Wheel && arrasto_.ParteArrastada != -1
        && static_cast<QWidget*>(objeto)->window() == this)
        return true;
    // The window sees every key before the control that has the focus, and never keeps it.
    // A key event travels up through the parents as the same object: take it at its first
    // receiver, the focused control (or the window when nothing of it has the focus).
    if (evento->type() == QEvent::KeyPress) {
        QWidget* primeiro = QApplication::focusWidget();
        if (!primeiro || primeiro->window() != this)
            primeiro = this;
        if (objeto == primeiro) {
            const auto* tecla = static_cast<QKeyEvent*>(evento);
            Form_KeyDown(tecla->key(), tecla->modifiers());
        }
    }
    return QMainWindow::eventFilter(objeto, evento);
}

} // namespace zelpo
