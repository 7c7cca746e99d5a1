#pragma once
// One piece picture (`picParte`): a borderless child of the drawing surface that shows
// its piece's picture and, once shaped, shows and takes the mouse only inside the
// piece's outline (its widget mask). It knows nothing of the game: it reports a press
// (in its own picture's coordinates) and, while a button is held, every move and the
// release in its parent's coordinates, wherever the pointer goes.

#include <QImage>
#include <QWidget>

namespace zelpo {

class PecaWidget : public QWidget {
    Q_OBJECT
public:
    PecaWidget(int16_t indice, QWidget* pai);

    int16_t Index() const { return indice_; }
    const QImage& figura() const { return figura_; }
    void DefinirFigura(QImage figura);
    // Text written onto the picture, which stays until the picture is replaced.
    void Escrever(QPoint topoEsquerdo, const QString& texto);
    void Limpar();

Q_SIGNALS:
    void pressionada(int16_t indice, QPointF ponto);
    void movida(Qt::MouseButtons botoes, QPoint pontoNoPai);
    void solta(QPoint pontoNoPai);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int16_t indice_;
    QImage figura_;
};

} // namespace zelpo
