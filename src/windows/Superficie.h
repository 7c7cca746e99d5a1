#pragma once
// The main window's drawing surface: a 632 x 434 image that keeps everything drawn on
// it (the tray well, the message line, the board area and the pieces pasted onto it)
// and that paint events only show. The drawing helpers follow the classic line rules:
// a line leaves out its end point, a box (outline or filled) includes both corners.
// The piece widgets and the clock are children of the surface, so its coordinates are
// the main window's client coordinates of the game's layout. It knows nothing of the
// game: mouse moves, releases and the wheel are reported as signals.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace zelpo {

class Superficie : public QWidget {
    Q_OBJECT
public:
    explicit Superficie(QWidget* pai);

    QImage& tela() { return tela_; }
    const QImage& tela() const { return tela_; }

    void Linha(QPoint de, QPoint ate, const QColor& cor);
    void Caixa(QPoint de, QPoint ate, const QColor& cor);      // outline, both corners included
    void Preencher(QPoint de, QPoint ate, const QColor& cor);  // filled, both corners included
    void Circulo(QPoint centro, int raio, const QColor& cor);
    void Escrever(QPoint topoEsquerdo, const QString& texto, const QFont& fonte, const QColor& cor);

Q_SIGNALS:
    void movida(Qt::MouseButtons botoes, QPoint ponto);
    void solta(QPoint ponto);
    void roda(QWheelEvent* evento);
    void pintada(); // the first time the surface reaches the screen

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    QImage tela_;
    bool pintada_ = false;
};

} // namespace zelpo
