#pragma once
// The main window's drawing surface: a 632 x 434 image that keeps everything drawn on
// it (the tray well, the message line, the board area and the pieces pasted onto it)
// and that paint events only show. The drawing helpers follow the classic line rules:
// a line leaves out its end point, a box (outline or filled) includes both corners.
// The piece widgets and the clock are children of the surface, so its coordinates are
// the main window's client coordinates of the game's layout.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace zelpo {

class frmZelpo;

class Superficie : public QWidget {
    Q_OBJECT
public:
    Superficie(frmZelpo* dono, QWidget* pai);

    QImage& tela() { return tela_; }
    const QImage& tela() const { return tela_; }

    void Linha(QPoint de, QPoint ate, const QColor& cor);
    void Caixa(QPoint de, QPoint ate, const QColor& cor);      // outline, both corners included
    void Preencher(QPoint de, QPoint ate, const QColor& cor);  // filled, both corners included
    void Circulo(QPoint centro, int raio, const QColor& cor);
    void Escrever(QPoint topoEsquerdo, const QString& texto, const QFont& fonte, const QColor& cor);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    frmZelpo* dono_;
    QImage tela_;
};

} // namespace zelpo
