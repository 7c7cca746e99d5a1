// Centring a window by its frame: the numbers an X11 window manager gives (a title bar
// and thin borders around the client area) against the screen or the owner's window.
#include "posicao.h"

#include <gtest/gtest.h>

using namespace zelpo;

namespace {

// The gaps between the frame and the target's edges: left, top, right, bottom.
QMargins Folgas(QSize cliente, QMargins moldura, const QRect& alvo)
{
    const QRect fora = QRect(CantoCentrado(cliente, moldura, alvo), cliente).marginsAdded(moldura);
    return {fora.left() - alvo.left(), fora.top() - alvo.top(), alvo.right() - fora.right(),
            alvo.bottom() - fora.bottom()};
}

} // namespace

TEST(Posicao, MolduraCentradaNoAlvo)
{
    const QMargins openbox(1, 21, 1, 1), nenhuma;
    const struct { const char* nome; QSize cliente; QMargins moldura; QRect alvo; QPoint canto; QMargins folgas; } casos[] = {
        // the main window on a 1024 x 768 screen, the odd pixel below
        {"com moldura", {632, 453}, openbox, {0, 0, 1024, 768}, {196, 167}, {195, 146, 195, 147}},
        // a screen left of the main one, with a panel on top (or an owner's window anywhere)
        {"tela negativa", {640, 480}, nenhuma, {-1280, 24, 1280, 1000}, {-960, 284}, {320, 260, 320, 260}},
        // larger than the screen: the caption stays in reach
        {"maior que a tela", {632, 453}, openbox, {0, 0, 640, 400}, {4, 21}, {3, 0, 3, -75}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(CantoCentrado(c.cliente, c.moldura, c.alvo), c.canto);
        EXPECT_EQ(Folgas(c.cliente, c.moldura, c.alvo), c.folgas);
    }
}
