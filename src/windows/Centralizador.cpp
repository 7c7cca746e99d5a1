#include "Centralizador.h"

#include "posicao.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace zelpo {

namespace {

// The whole window, frame included, as the window system last reported it.
QRect JanelaInteira(QWidget* w)
{
    if (QWindow* nativa = w->windowHandle())
        return nativa->frameGeometry();
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
    switch (evento->type()) {
    case QEvent::Show:
        // the native window exists from here on: its exposure tells when it is mapped
        if (!nativa_ && janela_->windowHandle()) {
            nativa_ = janela_->windowHandle();
            nativa_->installEventFilter(this);
        }
        Posicionar();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Expose:
        if (janela_->isVisible())
            Posicionar();
        break;
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
}

void Centralizador::Posicionar()
{
    const QMargins informada = nativa_ ? nativa_->frameMargins() : QMargins();
    // Until the window manager has framed this window, the owner's frame is the best
    // guess, both coming from the same window manager: a dialog then seldom moves again.
    QMargins moldura = informada;
    if (moldura.isNull() && dono_ && dono_->windowHandle() && !(janela_->windowFlags() & Qt::FramelessWindowHint))
        moldura = dono_->windowHandle()->frameMargins();
    if (posicionada_ && moldura == moldura_ && janela_->size() == tamanho_) {
        if (!informada.isNull())
            deleteLater();
        return;
    }
    QRect alvo;
    if (dono_ && dono_->isVisible())
        alvo = JanelaInteira(dono_);
    else if (const QScreen* tela = janela_->screen())
        alvo = tela->availableGeometry();
    else
        return;
    moldura_ = moldura;
    tamanho_ = janela_->size();
    posicionada_ = true;
    // the client area goes where the frame around it ends up centred
    janela_->setGeometry(QRect(CantoCentrado(tamanho_, moldura_, alvo), tamanho_));
    if (!informada.isNull())
        deleteLater();
}

} // namespace zelpo
