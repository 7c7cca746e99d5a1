#include "posicao.h"

#include <algorithm>

namespace zelpo {

namespace {

// The start of a length centred on [inicio, inicio + espaco), never before inicio.
int Centrar(int inicio, int espaco, int comprimento)
{
    return inicio + std::max(0, (espaco - comprimento) / 2);
}

} // namespace

QPoint CantoCentrado(QSize cliente, QMargins moldura, const QRect& alvo)
{
    const QSize fora = cliente.grownBy(moldura);
    const QPoint cantoMoldura(Centrar(alvo.left(), alvo.width(), fora.width()),
                              Centrar(alvo.top(), alvo.height(), fora.height()));
    return cantoMoldura + QPoint(moldura.left(), moldura.top());
}

} // namespace zelpo
