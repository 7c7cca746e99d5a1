// Centring a window by its frame: the numbers an X11 window manager gives (a title bar
// and thin borders around the client area) against the screen or the owner's window.
#include "posicao.h"

#include <gtest/gtest.h>

using namespace zelpo;

// The corner is the client area's; the gaps named are those of the frame around it.
TEST(Posicao, MolduraCentradaNoAlvo)
{
    const QMargins openbox(1, 21, 1, 1), nenhuma;
    const struct { const char* nome; QSize cliente; QMargins moldura; QRect alvo; QPoint canto; } casos[] = {
        // the main window on a 1024 x 768 screen: gaps of 195 each side, 146 above and 147 below
        {"com moldura", {632, 453}, openbox, {0, 0, 1024, 768}, {196, 167}},
        // a screen left of the main one, with a panel on top (or an owner's window anywhere)
        {"tela negativa", {640, 480}, nenhuma, {-1280, 24, 1280, 1000}, {-960, 284}},
        // larger than the screen: the caption stays in reach, 3 px in from the left edge
        {"maior que a tela", {632, 453}, openbox, {0, 0, 640, 400}, {4, 21}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(CantoCentrado(c.cliente, c.moldura, c.alvo), c.canto) << c.nome;
}
