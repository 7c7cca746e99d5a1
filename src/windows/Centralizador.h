#pragma once
// Centres a top-level window by its frame, as the player sees it: the main window on its
// screen's work area, a dialog or message box on its owner's whole window. An X11 window
// manager puts the frame around a window only once it is mapped, and then reports it; so
// the window is placed when it shows, and placed again whenever its frame or size differ
// from those of the last placement, until a frame has been reported. Without a window
// manager the frame stays empty and the client area is centred. The arithmetic is
// CantoCentrado (posicao.h). Attach before the first show; the object goes away
// with its window, or as soon as the frame has been taken into account.

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QSize>

class QWidget;
class QWindow;

namespace zelpo {

class Centralizador : public QObject {
    Q_OBJECT
public:
    // dono: the window to centre on; null for the screen's work area.
    static void Centrar(QWidget* janela, QWidget* dono = nullptr);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    Centralizador(QWidget* janela, QWidget* dono);
    void Posicionar();

    QWidget* janela_;
    QPointer<QWidget> dono_;
    QPointer<QWindow> nativa_;
    QMargins moldura_;
    QSize tamanho_;
    bool posicionada_ = false;
};

} // namespace zelpo
