#include "frmPreview.h"

#include "CoresSistema.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace zelpo {

namespace {

constexpr int LARGURA_MINIMA = 129;
constexpr int ALTURA_MINIMA = 65;
constexpr int COLUNAS_MINIMAS = 6; // below this the minimum width applies
constexpr int LINHAS_MINIMAS = 3;
constexpr int FOLGA = 8;           // room for the etched frame around the picture
constexpr int MARGEM_TELA = 32;    // a window nearer than this to the far edge moves back

// A one-pixel rectangle outline that includes both corner points.
void Contorno(QPainter& p, int x1, int y1, int x2, int y2, const QColor& cor)
{
    p.fillRect(x1, y1, x2 - x1 + 1, 1, cor);
    p.fillRect(x1, y2, x2 - x1 + 1, 1, cor);
    p.fillRect(x1, y1, 1, y2 - y1 + 1, cor);
    p.fillRect(x2, y1, 1, y2 - y1 + 1, cor);
}

// Half of the spare room, a half going to the even neighbour (9 gives 4).
int Centro(int folga)
{
    return static_cast<int>(std::nearbyint(folga / 2.0));
}

} // namespace

frmPreview::frmPreview(QPoint canto, const QImage& miniatura, int colunas, int linhas, QWidget* dono)
    : QWidget(dono, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Visualizar"));
    Form_Load(canto, miniatura, colunas, linhas);
}

QSize frmPreview::TamanhoCliente(int colunas, int linhas)
{
    return {colunas < COLUNAS_MINIMAS ? LARGURA_MINIMA : colunas * CELULA_MINIATURA + FOLGA,
            linhas < LINHAS_MINIMAS ? ALTURA_MINIMA : linhas * CELULA_MINIATURA + FOLGA};
}

void frmPreview::Form_Load(QPoint canto, const QImage& miniatura, int colunas, int linhas)
{
    // keep the window on the screen: a stored position past the far edges falls back to
    // the first-run place; there is no lower bound
    const QScreen* tela = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize tamanhoTela = tela ? tela->geometry().size() : QSize();
    if (tela && canto.y() > tamanhoTela.height() - MARGEM_TELA)
        canto.setY(TOPO_PREVIEW_PADRAO);
    if (tela && canto.x() > tamanhoTela.width() - MARGEM_TELA)
        canto.setX(ESQUERDA_PREVIEW_PADRAO);
    move(canto);

    const QSize cliente = TamanhoCliente(colunas, linhas);
    setFixedSize(cliente);
    const int w = colunas * CELULA_MINIATURA;
    const int h = linhas * CELULA_MINIATURA;
    const int x0 = Centro(cliente.width() - w);
    const int y0 = Centro(cliente.height() - h);
    cantoFigura_ = {x0, y0};

    // drawn once, at the thumbnail's scale; the window only shows this image afterwards
    const double escala = miniatura.devicePixelRatio();
    desenho_ = QImage((QSizeF(cliente) * escala).toSize(), QImage::Format_RGB32);
    desenho_.setDevicePixelRatio(escala);
    desenho_.fill(Cor(CorSistema::FaceBotao));
    QPainter p(&desenho_);
    // the light outline up and left of the dark one: an etched groove
    Contorno(p, x0 - 3, y0 - 3, x0 + w + 3, y0 + h + 3, Cor(CorSistema::SombraBotao));
    Contorno(p, x0 - 4, y0 - 4, x0 + w + 2, y0 + h + 2, Cor(CorSistema::Realce3D));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x0, y0), miniatura, QRectF(0, 0, w * escala, h * escala));
}

void frmPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, desenho_);
}

void frmPreview::mousePressEvent(QMouseEvent*)
{
    close();
}

void frmPreview::keyPressEvent(QKeyEvent*)
{
    close();
}

// The main window's shortcuts (F9, F2...) would fire while the preview is active: every
// key is claimed here first, so that it arrives as a key press and only closes the window.
bool frmPreview::event(QEvent* evento)
{
    if (evento->type() == QEvent::ShortcutOverride) {
        evento->accept();
        return true;
    }
    return QWidget::event(evento);
}

// Shown, it takes the activation, so that activating the main window again closes it.
void frmPreview::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    activateWindow();
}

// Another window of ours became active (the main window, a dialog): the preview goes.
// Switching to another program leaves no active window here, and the preview stays.
void frmPreview::changeEvent(QEvent* evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() != QEvent::ActivationChange || !isVisible())
        return;
    QWidget* ativa = QApplication::activeWindow();
    if (ativa != nullptr && ativa != this)
        close();
}

void frmPreview::closeEvent(QCloseEvent* evento)
{
    Form_Unload();
    evento->accept();
}

void frmPreview::Form_Unload()
{
    Q_EMIT fechada(frameGeometry().topLeft());
}

} // namespace zelpo
