#pragma once
// One piece picture (`picParte`): a borderless child of the drawing surface that shows
// its piece's picture and, once shaped, shows and takes the mouse only inside the
// piece's outline (its widget mask). The tag holds the tray slot it was last laid out
// in. Mouse events go to the main window's handlers: the press as a press on the piece
// (in picture coordinates), moves and the release in surface coordinates, wherever the
// pointer goes while a button is held.

#include <QImage>
#include <QString>
#include <QWidget>

namespace zelpo {

class frmZelpo;

class PecaWidget : public QWidget {
    Q_OBJECT
public:
    PecaWidget(int16_t indice, frmZelpo* dono, QWidget* pai);

    int16_t Index() const { return indice_; }
    QImage& figura() { return figura_; }
    const QImage& figura() const { return figura_; }
    void DefinirFigura(QImage figura);
    void Limpar();
    QString Tag;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int16_t indice_;
    frmZelpo* dono_;
    QImage figura_;
};

} // namespace zelpo
