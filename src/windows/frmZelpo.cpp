#include "frmZelpo.h"

#include "Acessivel.h"
#include "Autor.h"
#include "Bandeja.h"
#include "Centralizador.h"
#include "CommonDialogCls.h"
#include "Interator.h"
#include "Mensagem.h"
#include "Som.h"
#include "Tabuleiro.h"
#include "files/arquivos.h"
#include "files/associacao.h"
#include "files/configuracao.h"
#include "files/recordes.h"
#include "files/recuperacao.h"
#include "fontes.h"
#include "frmComoJogar.h"
#include "frmGerar.h"
#include "frmPreview.h"
#include "play/relogio.h"
#include "play/textos.h"
#include "records/produto.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace zelpo {

namespace {
constexpr int INTERVALO_RELOGIO = 1000;
constexpr QSize TAMANHO_JANELA(640, 480);
constexpr Qt::KeyboardModifiers ACORDE = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
constexpr int TAMANHO_TEXTO_POSICAO = 12; // the grid position is written 12 px off-centre
} // namespace

QString LegendaDoProduto()
{
    return QString::fromUtf8(FABRICANTE) + QStringLiteral(" - ") + QString::fromUtf8(TITULO_APLICACAO);
}

frmZelpo::frmZelpo(Ambiente ambiente, QWidget* pai)
    : QMainWindow(pai), amb_(std::move(ambiente)),
      salvaguarda_(amb_.PastaRecuperacao())
{
    // Form_Load, up to showing the window: options, size, controls, the generator.
    AplicarOpcoes(LerCFG(amb_.ArquivoConfiguracao()));
    setWindowTitle(LegendaDoProduto());
    setFont(FonteJanela());
    InstalarAcessibilidade();
    tela_ = new Tabuleiro(this);
    setCentralWidget(tela_);
    CriarMenus();
    CriarControles();
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

int32_t Ambiente::Ticks() const
{
    return ticks ? ticks() : ContagemTicks();
}

QString Ambiente::ArquivoConfiguracao() const
{
    return arquivoConfiguracao.isEmpty() ? CaminhoConfiguracao() : arquivoConfiguracao;
}

QString Ambiente::ArquivoRecordes() const
{
    return arquivoRecordes.isEmpty() ? CaminhoRecordes() : arquivoRecordes;
}

QString Ambiente::PastaRecuperacao() const
{
    return pastaRecuperacao.isEmpty() ? zelpo::PastaRecuperacao() : pastaRecuperacao;
}

void frmZelpo::CriarMenus()
{
    QMenu* jogo = menuBar()->addMenu(QStringLiteral("&Jogo"));
    QMenu* ajuda = nullptr;
    const auto item = [this, &jogo, &ajuda](const char* nome, const QString& texto, QKeySequence atalho, auto acao) {
        QAction* a = (ajuda ? ajuda : jogo)->addAction(texto);
        a->setObjectName(QLatin1String(nome));
        a->setShortcut(atalho);
        connect(a, &QAction::triggered, this, acao);
        return a;
    };
    item("mnuJogoNovo", QStringLiteral("&Novo"), Qt::Key_F2, [this] { mnuJogoNovo_Click(); });
    item("mnuJogoAbrir", QStringLiteral("A&brir"), Qt::Key_F3, [this] { mnuJogoAbrir_Click(); });
    mnuJogoSalvar_[0] = item("mnuJogoSalvar0", QStringLiteral("&Salvar"), QKeySequence(Qt::CTRL | Qt::Key_S),
                             [this] { mnuJogoSalvar_Click(0); });
    mnuJogoSalvar_[1] = item("mnuJogoSalvar1", QStringLiteral("Salvar &como..."), {}, [this] { mnuJogoSalvar_Click(1); });
    jogo->addSeparator();
    mnuJogoVisualizar_ = item("mnuJogoVisualizar", QStringLiteral("&Visualizar"), Qt::Key_F9,
                              [this] { mnuJogoVisualizar_Click(); });
    mnuJogoReiniciar_ = item("mnuJogoReiniciar", QStringLiteral("R&einiciar"), Qt::Key_F4,
                             [this] { mnuJogoReiniciar_Click(); });
    jogo->addSeparator();
    item("mnuJogoSair", QStringLiteral("Sai&r"), {}, [this] { close(); });

    ajuda = menuBar()->addMenu(QStringLiteral("Aj&uda"));
    item("mnuAjudaComoJogar", QStringLiteral("&Como jogar"), Qt::Key_F1, [this] { MostrarComoJogar(this); });
    item("mnuAjudaAutor", QStringLiteral("&Autor"), {}, [this] { (new Autor(this))->show(); });
    item("mnuAjudaRecordes", QStringLiteral("&Recordes"), {}, [this] { mnuAjudaRecordes_Click(); });

    menuBar()->setAccessibleName(QStringLiteral("Menus"));
    jogo->setAccessibleName(QStringLiteral("Jogo"));
    ajuda->setAccessibleName(QStringLiteral("Ajuda"));
    // The bar writes its titles as the menus write their items, not in the window's bold.
    QFont fonteMenu = QApplication::font(jogo);
    fonteMenu.setBold(false);
    menuBar()->setFont(fonteMenu);
}

void frmZelpo::CriarControles()
{
    bandeja_ = new Bandeja(partida_, *tela_);
    interator_ = new Interator(partida_, *tela_, *bandeja_);
    bandeja_->DefinirMao([this] { return interator_->ParteArrastada(); });
    connect(tela_, &Tabuleiro::pressionada, interator_, &Interator::picParte_MouseDown);
    connect(tela_, &Tabuleiro::movida, interator_, &Interator::Form_MouseMove);
    connect(tela_, &Tabuleiro::solta, interator_, [this] { interator_->Form_MouseUp(); });
    connect(tela_, &Tabuleiro::roda, bandeja_, &Bandeja::Roda);
    connect(interator_, &Interator::jogada, this, [this](Jogada jogada) { AoJogar(jogada); });
    connect(tela_, &Tabuleiro::escalaMudou, this, &frmZelpo::Redesenhar);
    tela_->DefinirTeclado([this](int tecla, Qt::KeyboardModifiers m) { return interator_->Tecla(tecla, m); });
    tela_->DefinirDescricao({[this](int16_t peca) { return interator_->NomeDaPeca(peca); },
                             [this](int16_t peca) { return interator_->LugarDaPeca(peca); }});
    connect(interator_, &Interator::mudou, this, [this](int16_t peca) {
        tela_->Anunciar(int(FilhoDoTabuleiro::PrimeiraPeca) + peca, QAccessible::NameChanged);
    });

    tmrHora_ = new QTimer(this);
    tmrHora_->setObjectName(QStringLiteral("tmrHora"));
    tmrHora_->setInterval(INTERVALO_RELOGIO);
    connect(tmrHora_, &QTimer::timeout, this, &frmZelpo::tmrHora_Timer);

    // The copy is made once the command is over, from the event loop: the record is whole
    // then, and the drop is handled and drawn without waiting for it. Only the encoding is
    // done here; the disk is left to the writer thread.
    tmrCopia_ = new QTimer(this);
    tmrCopia_->setObjectName(QStringLiteral("tmrCopia"));
    tmrCopia_->setSingleShot(true);
    tmrCopia_->setInterval(0);
    connect(tmrCopia_, &QTimer::timeout, this, &frmZelpo::AtualizarCopia);

    picPreview_ = QImage(LADO_MINIATURA, LADO_MINIATURA, QImage::Format_RGB32);
    picPreview_.fill(palette().color(QPalette::Window));
    som_ = new Som(this);
}

// The menus, the clock and the message line follow the game's state, after every step.
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
    // the line of a complete puzzle tells of a record, until the next game
    const JogoSalvo& j = partida_.Jogo();
    tela_->TextoPartesIniciais(partida_.Estado() == EstadoJogo::Completo
                                   ? textoRecorde_
                                   : zelpo::TextoPartesIniciais(j.Dificuldade, j.PartesIniciais));
}

// The one writer of the player's options: the settings read at start-up, a dialog's
// answer, a saved game opened, the preview's place.
void frmZelpo::AplicarOpcoes(const Opcoes& opcoes)
{
    opcoes_ = opcoes;
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
    // The icon waits for the first paint: read as what it is, a PNG, so that no picture
    // plug-in is loaded to tell.
    connect(tela_, &Tabuleiro::pintada, this, [this] {
        setWindowIcon(QIcon(QPixmap::fromImage(QImage(QStringLiteral(":/janelas/zelpora.png"), "PNG"))));
    }, static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    PosicionarJanela();
    tela_->DesenharMoldura(bandeja_->Barra()->geometry());
    tela_->AreaInicial();
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
        connect(tela_, &Tabuleiro::pintada, this, [programa, icone, sistema = amb_.tipoDoSistema] {
            if (sistema)
                RetirarAssociacaoOrfa(QStringLiteral("zpr"));
            else
                AssociarArquivo(QStringLiteral("zpr"), QStringLiteral("Jogo do Zelpora 3.0"), programa, icone);
        }, static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    NovoJogo();
}

void frmZelpo::mnuJogoNovo_Click()
{
    if (const std::optional<Opcoes> escolhidas = SelecionarDificuldade(opcoes_, this)) {
        AplicarOpcoes(*escolhidas);
        NovoJogo();
    }
}

void frmZelpo::mnuJogoVisualizar_Click()
{
    const JogoSalvo& j = partida_.Jogo();
    auto* janela = new frmPreview(QPoint(opcoes_.PreviewLeft, opcoes_.PreviewTop), picPreview_, j.Colunas, j.Linhas, this);
    connect(janela, &frmPreview::fechada, this, [this](QPoint canto) {
        Opcoes o = opcoes_;
        o.PreviewLeft = canto.x();
        o.PreviewTop = canto.y();
        AplicarOpcoes(o);
    });
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
    if (const QString erro = SalvarCFG(amb_.ArquivoConfiguracao(), opcoes_); !erro.isEmpty())
        MostrarMensagem(this, QMessageBox::Warning, QStringLiteral("Erro"),
                        MensagemDeGravacao(amb_.ArquivoConfiguracao(), erro));
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
    // The sound output opens once the player turns to the game (the pointer over it, a
    // press, a key): nothing sounds before the player acts, and a start pays nothing for it.
    const QEvent::Type tipo = evento->type();
    if (!somPreparado_ && (tipo == QEvent::MouseMove || tipo == QEvent::MouseButtonPress || tipo == QEvent::KeyPress)
        && static_cast<QWidget*>(objeto)->window() == this) {
        somPreparado_ = true;
        QMetaObject::invokeMethod(som_, &Som::Preparar, Qt::QueuedConnection);
    }
    // The wheel would scroll the tray under the piece in hand.
    if (evento->type() == QEvent::Wheel && interator_->ParteArrastada() != -1
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

void frmZelpo::Form_KeyDown(int tecla, Qt::KeyboardModifiers shift)
{
    const bool carregado = partida_.Estado() != EstadoJogo::SemJogo;
    if ((shift & ACORDE) == ACORDE && !(shift & Qt::MetaModifier) && carregado) {
        const JogoSalvo& j = partida_.Jogo();
        if (tecla == Qt::Key_F) {
            const int posicao = (j.Geo().TamanhoCelula - TAMANHO_TEXTO_POSICAO) / 2;
            for (int16_t i = 0; i < j.Pecas(); ++i) {
                const Parte& p = j.Partes[i];
                tela_->EscreverNaPeca(i, QPoint(posicao, posicao), QString::number(p.Coluna) + QString::number(p.Linha));
            }
        } else if (tecla == Qt::Key_G) {
            partida_.DistribuirEmOrdem();
            // The question opens once this key event is over, so that the chord's own key
            // releases do not land in it.
            QTimer::singleShot(0, this, [this] { mnuJogoReiniciar_Click(); });
        }
    }
    if (interator_->ParteArrastada() == -1) // the arrows move a piece in hand instead
        bandeja_->TeclaDeRolagem(tecla);
}

void frmZelpo::tmrHora_Timer()
{
    if (!partida_.EmJogo())
        return;
    tela_->ExibirHora(SegundosParaHora(partida_.Tique(amb_.Ticks())));
    salvaguarda_.Tique(partida_);
}

} // namespace zelpo
