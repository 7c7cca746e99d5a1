#include "Superficie.h"

#include "records/jogo.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace zelpo {

Superficie::Superficie(QWidget* pai) : QWidget(pai), tela_(LARGURA_CLIENTE, ALTURA_CLIENTE, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("superficie"));
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
    if (!pintada_) {
        pintada_ = true;
        Q_EMIT pintada();
    }
}

void Superficie::mouseMoveEvent(QMouseEvent* e)
{
    Q_EMIT movida(e->buttons(), e->position().toPoint());
}

void Superficie::mouseReleaseEvent(QMouseEvent* e)
{
    Q_EMIT solta(e->position().toPoint());
}

void Superficie::wheelEvent(QWheelEvent* e)
{
    e->ignore();
    Q_EMIT roda(e);
}

} // namespace zelpo
