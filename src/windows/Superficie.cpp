#include "Superficie.h"

#include "frmZelpo.h"
#include "game/jogo.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QPainter>

namespace zelpo {

Superficie::Superficie(frmZelpo* dono, QWidget* pai)
    : QWidget(pai), dono_(dono), tela_(LARGURA_CLIENTE, ALTURA_CLIENTE, QImage::Format_RGB32)
{
    setFixedSize(LARGURA_CLIENTE, ALTURA_CLIENTE);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    tela_.fill(palette().color(QPalette::Window));
}

void Superficie::Linha(QPoint de, QPoint ate, const QColor& cor)
{
    // Only straight lines are drawn here; the end point is left out.
    const QPoint passo((ate.x() > de.x()) - (ate.x() < de.x()), (ate.y() > de.y()) - (ate.y() < de.y()));
    for (QPoint p = de; p != ate; p += passo)
        if (tela_.rect().contains(p))
            tela_.setPixelColor(p, cor);
    update();
}

void Superficie::Caixa(QPoint de, QPoint ate, const QColor& cor)
{
    QPainter p(&tela_);
    p.setPen(cor);
    p.drawRect(QRect(de, ate).normalized().adjusted(0, 0, -1, -1));
    update();
}

void Superficie::Preencher(QPoint de, QPoint ate, const QColor& cor)
{
    QPainter p(&tela_);
    p.fillRect(QRect(de, ate).normalized(), cor);
    update();
}

void Superficie::Circulo(QPoint centro, int raio, const QColor& cor)
{
    QPainter p(&tela_);
    p.setPen(cor);
    p.drawEllipse(centro, raio, raio);
    update();
}

void Superficie::Escrever(QPoint topoEsquerdo, const QString& texto, const QFont& fonte, const QColor& cor)
{
    QPainter p(&tela_);
    p.setFont(fonte);
    p.setPen(cor);
    p.drawText(topoEsquerdo + QPoint(0, p.fontMetrics().ascent()), texto);
    update();
}

void Superficie::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.drawImage(e->rect(), tela_, e->rect());
}

void Superficie::mouseMoveEvent(QMouseEvent* e)
{
    dono_->Form_MouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void Superficie::wheelEvent(QWheelEvent* e)
{
    // The wheel anywhere over the tray scrolls it, as over its scroll bar.
    if (e->position().x() < dono_->vsbPartes->geometry().right() && dono_->vsbPartes->isEnabled())
        QCoreApplication::sendEvent(dono_->vsbPartes, e);
    else
        e->ignore();
}

void Superficie::mouseReleaseEvent(QMouseEvent* e)
{
    dono_->Form_MouseUp(e->button(), e->modifiers(), e->position().toPoint());
}

} // namespace zelpo
