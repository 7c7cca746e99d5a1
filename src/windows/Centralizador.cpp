#include "Centralizador.h"

#include "posicao.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <optional>

#ifdef ZELPO_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace zelpo {

namespace {

#ifdef ZELPO_XCB
xcb_connection_t* ConexaoX11()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t AtomoExtensao(xcb_connection_t* conexao)
{
    static const xcb_atom_t atomo = [conexao] {
        const char nome[] = "_NET_FRAME_EXTENTS";
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> resposta(
            xcb_intern_atom_reply(conexao, xcb_intern_atom(conexao, 0, sizeof nome - 1, nome), nullptr), &std::free);
        return resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    return atomo;
}
#endif

// Whether the window manager can tell the frame itself (an X11 display).
bool MolduraAnunciavel()
{
#ifdef ZELPO_XCB
    return ConexaoX11() != nullptr;
#else
    return false;
#endif
}

// The frame the window manager has announced for a window, in the window's own pixels;
// none until it has framed the window, and never off X11.
std::optional<QMargins> MolduraAnunciada(QWindow* janela)
{
#ifdef ZELPO_XCB
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || !janela || !janela->handle())
        return std::nullopt;
    const xcb_get_property_cookie_t pedido = xcb_get_property(
        conexao, 0, static_cast<xcb_window_t>(janela->winId()), AtomoExtensao(conexao), XCB_ATOM_CARDINAL, 0, 4);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> resposta(
        xcb_get_property_reply(conexao, pedido, nullptr), &std::free);
    if (!resposta || resposta->type != XCB_ATOM_CARDINAL || resposta->format != 32
        || xcb_get_property_value_length(resposta.get()) != 4 * 4)
        return std::nullopt;
    // left, right, top, bottom, in the screen's pixels
    const auto* lados = static_cast<const uint32_t*>(xcb_get_property_value(resposta.get()));
    const qreal razao = janela->devicePixelRatio();
    const auto logico = [razao](uint32_t v) { return static_cast<int>(std::lround(v / razao)); };
    return QMargins(logico(lados[0]), logico(lados[2]), logico(lados[1]), logico(lados[3]));
#else
    Q_UNUSED(janela);
    return std::nullopt;
#endif
}

// A window's frame: as announced when it has been, else as the toolkit reports it.
QMargins MolduraDe(QWindow* janela)
{
    return MolduraAnunciada(janela).value_or(janela->frameMargins());
}

// The whole window, frame included.
QRect JanelaInteira(QWidget* w)
{
    if (QWindow* nativa = w->windowHandle())
        return nativa->geometry().marginsAdded(MolduraDe(nativa));
    return w->frameGeometry();
}

} // namespace

void Centralizador::Centrar(QWidget* janela, QWidget* dono)
{
    new Centralizador(janela, dono);
}

Centralizador::Centralizador(QWidget* janela, QWidget* dono)
    : QObject(janela), janela_(janela), dono_(dono ? dono->window() : nullptr)
{
    janela_->installEventFilter(this);
}

bool Centralizador::eventFilter(QObject* objeto, QEvent* evento)
{
    const bool nativa = objeto != janela_;
    switch (evento->type()) {
    case QEvent::Show:
        if (nativa)
            break;
        // before the window maps: the window manager places it where it is asked to
        if (!nativa_ && janela_->windowHandle()) {
            nativa_ = janela_->windowHandle();
            nativa_->installEventFilter(this);
        }
        Posicionar(MolduraProvavel());
        break;
    case QEvent::Resize:
        // a message box takes its final size as it shows
        if (!nativa && janela_->isVisible() && janela_->size() != tamanho_)
            Posicionar(moldura_);
        else if (nativa)
            Conferir();
        break;
    case QEvent::Move:
    case QEvent::Expose:
        if (nativa)
            Conferir();
        break;
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
}

// The frame to count with before the window manager has framed the window: its own if
// already announced, else the owner's, both from the same window manager; none for a
// window without a frame, or for the main window until it is framed.
QMargins Centralizador::MolduraProvavel() const
{
    if (janela_->windowFlags() & Qt::FramelessWindowHint)
        return {};
    if (const std::optional<QMargins> propria = MolduraAnunciada(nativa_))
        return *propria;
    if (dono_ && dono_->windowHandle())
        return MolduraDe(dono_->windowHandle());
    return {};
}

// Once the frame is known, the window moves if it was counted wrong, and the work is done.
void Centralizador::Conferir()
{
    if (!nativa_ || !janela_->isVisible())
        return;
    std::optional<QMargins> moldura;
    if (MolduraAnunciavel())
        moldura = MolduraAnunciada(nativa_); // before that the toolkit only guesses from the window tree
    else if (nativa_->isExposed())
        moldura = nativa_->frameMargins();
    if (!moldura)
        return;
    if (*moldura != moldura_ || janela_->size() != tamanho_)
        Posicionar(*moldura);
    janela_->removeEventFilter(this);
    nativa_->removeEventFilter(this);
    deleteLater();
}

void Centralizador::Posicionar(QMargins moldura)
{
    QRect alvo;
    if (dono_ && dono_->isVisible())
        alvo = JanelaInteira(dono_);
    else if (const QScreen* tela = janela_->screen())
        alvo = tela->availableGeometry();
    else
        return;
    moldura_ = moldura;
    tamanho_ = janela_->size();
    // the client area goes where the frame around it ends up centred
    janela_->setGeometry(QRect(CantoCentrado(tamanho_, moldura_, alvo), tamanho_));
}

} // namespace zelpo
