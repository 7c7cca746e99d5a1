#include "PecaWidget.h"

#include "frmZelpo.h"

#include <QMouseEvent>
#include <QPainter>

namespace zelpo {

PecaWidget::PecaWidget(int16_t indice, frmZelpo* dono, QWidget* pai)
    : QWidget(pai), indice_(indice), dono_(dono)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(0, 0, 8, 8);
    hide();
}

void PecaWidget::DefinirFigura(QImage figura)
{
    figura_ = std::move(figura);
    update();
}

void PecaWidget::Limpar()
{
    figura_ = QImage();
    clearMask();
    Tag.clear();
    update();
}

void PecaWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    if (figura_.isNull())
        p.fillRect(e->rect(), palette().color(QPalette::Window));
    else
        p.drawImage(e->rect(), figura_, e->rect());
}

void PecaWidget::mousePressEvent(QMouseEvent* e)
{
    dono_->picParte_MouseDown(indice_, e->button(), e->modifiers(), e->position());
}

void PecaWidget::mouseMoveEvent(QMouseEvent* e)
{
    dono_->Form_MouseMove(e->buttons(), e->modifiers(), mapToParent(e->position()).toPoint());
}

void PecaWidget::mouseReleaseEvent(QMouseEvent* e)
{
    dono_->Form_MouseUp(e->button(), e->modifiers(), mapToParent(e->position()).toPoint());
}

} // namespace zelpo
