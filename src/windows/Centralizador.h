#pragma once
// Centres a top-level window by its frame, as the player sees it: the main window on its
// screen's work area, a dialog or message box on its owner's whole window (frame
// included). An X11 window manager frames a window only once it is mapped, and in the
// meantime the frame the toolkit reports is a guess from the window tree, sometimes far
// off. So the window is placed before it maps with its owner's frame (the same window
// manager draws both), and moved again only if the frame the window manager then
// announces for it (_NET_FRAME_EXTENTS) differs. Off X11 the toolkit's own report, once the
// window is on the screen, serves; without a window manager the frame stays empty and
// the client area is centred. The arithmetic is CantoCentrado (posicao.h). Attach before
// the first show; the object goes away with its window, or once the frame is known.

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
    QMargins MolduraProvavel() const;
    void Conferir();
    void Posicionar(QMargins moldura);

    QWidget* janela_;
    QPointer<QWidget> dono_;
    QPointer<QWindow> nativa_;
    QMargins moldura_; // the frame the last placement counted with
    QSize tamanho_;
};

} // namespace zelpo
