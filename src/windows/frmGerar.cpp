#include "frmGerar.h"

#include "Centralizador.h"
#include "CommonDialogCls.h"
#include "CoresSistema.h"
#include "records/cores.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <cmath>

namespace zelpo {

namespace {

constexpr int LARGURA = 257;
constexpr int ALTURA = 153;

std::function<void(frmGerar&)>& exibicao()
{
    static std::function<void(frmGerar&)> e;
    return e;
}

// A one-pixel line along each side of r: tl on the top and left, br on the bottom and
// right, the bottom-right corner going to br.
void Bisel(QPainter& p, const QRect& r, const QColor& tl, const QColor& br)
{
    p.fillRect(r.left(), r.top(), r.width() - 1, 1, tl);
    p.fillRect(r.left(), r.top(), 1, r.height() - 1, tl);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, br);
    p.fillRect(r.right(), r.top(), 1, r.height(), br);
}

template <class T>
T* Criar(QWidget* pai, const char* nome, const QString& texto, QRect onde)
{
    auto* w = new T(texto, pai);
    w->setObjectName(QString::fromLatin1(nome));
    w->setGeometry(onde);
    return w;
}

constexpr QSize TAMANHO_FIGURA(56, 40);

// The button's picture drawn for the screen's own pixels: the white oval and its three
// words, as the picture the button carries draws them a pixel to a pixel.
void DesenharFigura(QPainter& p, const QRect& onde)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(onde);
    QFont fonte(QStringLiteral("Liberation Sans"));
    fonte.setPixelSize(10);
    p.setFont(fonte);
    p.setPen(Qt::black);
    const char* linhas[] = {"Cor", "da", "borda"};
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(onde.left(), onde.top() + 5 + i * 10, onde.width(), 10), Qt::AlignCenter,
                   QString::fromUtf8(linhas[i]));
    p.restore();
}

} // namespace

// --- the colour button -----------------------------------------------------------------

BotaoCor::BotaoCor(QWidget* pai) : QPushButton(pai)
{
    setIcon(QIcon(QStringLiteral(":/janelas/cor_da_borda.png")));
}

void BotaoCor::DefinirCor(int32_t numero)
{
    cor_ = numero;
    update();
}

void BotaoCor::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const bool afundado = isDown();
    p.fillRect(r, CorDoNumero(cor_));
    // two-pixel classic bevel: raised at rest, sunk while held down
    if (afundado) {
        Bisel(p, r, Cor(CorSistema::SombraEscura3D), Cor(CorSistema::Realce3D));
        Bisel(p, r.adjusted(1, 1, -1, -1), Cor(CorSistema::SombraBotao), Cor(CorSistema::Luz3D));
    } else {
        Bisel(p, r, Cor(CorSistema::Realce3D), Cor(CorSistema::SombraEscura3D));
        Bisel(p, r.adjusted(1, 1, -1, -1), Cor(CorSistema::Luz3D), Cor(CorSistema::SombraBotao));
    }
    QPoint canto((width() - TAMANHO_FIGURA.width()) / 2, (height() - TAMANHO_FIGURA.height()) / 2);
    if (afundado)
        canto += QPoint(1, 1);
    if (devicePixelRatioF() == 1)
        p.drawPixmap(canto, icon().pixmap(TAMANHO_FIGURA));
    else
        DesenharFigura(p, QRect(canto, TAMANHO_FIGURA));
    if (hasFocus()) {
        QStyleOptionFocusRect foco;
        foco.initFrom(this);
        foco.rect = r.adjusted(4, 4, -4, -4);
        foco.backgroundColor = CorDoNumero(cor_);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &foco, &p, this);
    }
}

// --- the dialog ------------------------------------------------------------------------

frmGerar::frmGerar(const Opcoes& opcoes, QWidget* dono)
    : QDialog(dono, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      opcoes_(opcoes)
{
    setObjectName(QStringLiteral("frmGerar"));
    setWindowTitle(QStringLiteral("Criar o zelpora"));
    VestirJanelaClassica(*this);
    setFixedSize(LARGURA, ALTURA);
    CriarControles();
    Form_Load();
    Centralizador::Centrar(this, dono);
}

void frmGerar::CriarControles()
{
    btnOk = Criar<QPushButton>(this, "btnOk", QStringLiteral("&Ok"), {8, 120, 89, 25});
    btnCancelar = Criar<QPushButton>(this, "btnCancelar", QStringLiteral("&Cancelar"), {160, 120, 89, 25});
    Frame1 = Criar<QGroupBox>(this, "Frame1", QStringLiteral("Nível de dificuldade:"), {8, 8, 121, 100});
    optFacil = Criar<QRadioButton>(Frame1, "optFacil", QStringLiteral("&Fácil"), {16, 24, 89, 13});
    optMedio = Criar<QRadioButton>(Frame1, "optMedio", QStringLiteral("&Médio"), {16, 48, 89, 13});
    optDificil = Criar<QRadioButton>(Frame1, "optDificil", QStringLiteral("&Difícil"), {16, 72, 89, 13});
    btnBorda = new BotaoCor(this);
    btnBorda->setObjectName(QStringLiteral("btnBorda"));
    btnBorda->setGeometry(144, 14, 105, 52);
    btnBorda->setToolTip(QStringLiteral("Clique aqui para alterar a cor da borda"));
    btnBorda->setAccessibleName(QStringLiteral("Cor da borda")); // its face is a picture
    chkPequenas = Criar<QCheckBox>(this, "chkPequenas", QStringLiteral("&Peças pequenas"), {144, 72, 105, 17});
    chkAdaptar = Criar<QCheckBox>(this, "chkAdaptar", QStringLiteral("&Adaptar figura"), {144, 91, 105, 17});
    chkAdaptar->setToolTip(QStringLiteral("Redimensiona a figura conforme o tamanho do zelpora"));

    // Enter must reach our key handler, so no button may take it as the default one.
    for (QPushButton* b : {btnOk, btnCancelar, static_cast<QPushButton*>(btnBorda)}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    const QList<QWidget*> ordem{btnOk, btnCancelar, optFacil, optMedio, optDificil,
                                btnBorda, chkPequenas, chkAdaptar};
    for (qsizetype i = 0; i + 1 < ordem.size(); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
    // every key goes past the dialog first, whichever control has the focus
    for (QWidget* w : ordem)
        w->installEventFilter(this);

    // As in the classic dialogs, Tab enters the option buttons at the chosen one and
    // leaves them at once; the arrow keys move among them.
    for (QRadioButton* opcao : {optFacil, optMedio, optDificil}) {
        opcao->setFocusPolicy(Qt::ClickFocus);
        connect(opcao, &QRadioButton::toggled, opcao,
                [opcao](bool marcada) { opcao->setFocusPolicy(marcada ? Qt::StrongFocus : Qt::ClickFocus); });
    }

    connect(btnOk, &QPushButton::clicked, this, &frmGerar::btnOk_Click);
    connect(btnCancelar, &QPushButton::clicked, this, &frmGerar::btnCancelar_Click);
    connect(btnBorda, &QPushButton::clicked, this, &frmGerar::btnBorda_Click);
}

void frmGerar::Form_Load()
{
    const Opcoes& o = opcoes_;
    if (o.Dificuldade == 1)
        optFacil->setChecked(true);
    else if (o.Dificuldade == 2)
        optMedio->setChecked(true);
    else
        optDificil->setChecked(true);
    btnBorda->DefinirCor(NumeroDaOpcao(o.BorderColor));
    chkAdaptar->setChecked(o.Adaptar);
    chkPequenas->setChecked(o.Pequenas);
}

void frmGerar::btnOk_Click()
{
    Opcoes& o = opcoes_;
    o.Dificuldade = optFacil->isChecked() ? 1 : optMedio->isChecked() ? 2 : 3;
    o.BorderColor = btnBorda->CorAtual();
    o.Adaptar = chkAdaptar->isChecked();
    o.Pequenas = chkPequenas->isChecked();
    escolhidas_ = o;
    accept();
}

void frmGerar::btnCancelar_Click()
{
    reject();
}

void frmGerar::btnBorda_Click()
{
    const int32_t escolhida = Dialogo().PickColor(btnBorda->CorAtual(), this);
    if (escolhida != -1)
        btnBorda->DefinirCor(escolhida);
}

bool frmGerar::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter) && objeto->isWidgetType())
            return Form_KeyPress(static_cast<QWidget*>(objeto));
    }
    return QDialog::eventFilter(objeto, evento);
}

// Enter moves on to the next control as Tab does; on a push button it presses the
// button, as the classic dialogs do.
bool frmGerar::Form_KeyPress(QWidget* foco)
{
    if (auto* botao = qobject_cast<QPushButton*>(foco)) {
        botao->click();
        return true;
    }
    focusNextChild();
    return true;
}

void frmGerar::DefinirExibicao(std::function<void(frmGerar&)> e)
{
    exibicao() = std::move(e);
}

std::optional<Opcoes> SelecionarDificuldade(const Opcoes& atuais, QWidget* dono)
{
    if (dono)
        dono->repaint();
    frmGerar dialogo(atuais, dono);
    if (exibicao())
        exibicao()(dialogo);
    else
        dialogo.exec();
    return dialogo.Escolhidas();
}

} // namespace zelpo
