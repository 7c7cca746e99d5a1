#include "PecaWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace zelpo {

PecaWidget::PecaWidget(int16_t indice, QWidget* pai) : QWidget(pai), indice_(indice)
{
    setObjectName(QStringLiteral("picParte%1").arg(indice));
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

void PecaWidget::Escrever(QPoint topoEsquerdo, const QString& texto)
{
    if (figura_.isNull())
        return;
    // in the picture's own font and colour, pixels of the colour or untouched, with no
    // blend into the picture
    QFont fonte = font();
    fonte.setStyleStrategy(QFont::NoAntialias);
    QPainter pintor(&figura_);
    pintor.setRenderHint(QPainter::TextAntialiasing, false);
    pintor.setFont(fonte);
    pintor.setPen(palette().color(QPalette::WindowText));
    pintor.drawText(topoEsquerdo + QPoint(0, pintor.fontMetrics().ascent()), texto);
    pintor.end();
    update();
}

void PecaWidget::Limpar()
{
    figura_ = QImage();
    clearMask();
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
    Q_EMIT pressionada(indice_, e->position());
}

void PecaWidget::mouseMoveEvent(QMouseEvent* e)
{
    Q_EMIT movida(e->buttons(), mapToParent(e->position()).toPoint());
}

void PecaWidget::mouseReleaseEvent(QMouseEvent* e)
{
    Q_EMIT solta(mapToParent(e->position()).toPoint());
}

} // namespace zelpo
