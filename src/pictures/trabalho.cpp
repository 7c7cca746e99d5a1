#include "pictures/trabalho.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zelpo {

ContadorDeArestas::ContadorDeArestas(int altura) : variacao_(static_cast<size_t>(std::max(altura, 0)) + 1, 0) {}

void ContadorDeArestas::Acrescentar(const QPolygonF& pontos, bool fechado)
{
    const int altura = static_cast<int>(variacao_.size()) - 1;
    const auto linha = [altura](qreal y) {
        return static_cast<int>(std::clamp<qreal>(y, 0, altura));
    };
    const qsizetype arestas = fechado ? pontos.size() : pontos.size() - 1;
    for (qsizetype i = 0; i < arestas; ++i) {
        const QPointF& a = pontos[i];
        const QPointF& b = pontos[(i + 1) % pontos.size()];
        if (!std::isfinite(a.y()) || !std::isfinite(b.y())) {
            continue;
        }
        const int de = linha(std::floor(std::min(a.y(), b.y())));
        const int ate = linha(std::ceil(std::max(a.y(), b.y())));
        if (ate > de) {
            ++variacao_[de];
            --variacao_[ate];
        }
    }
}

qint64 ContadorDeArestas::Cruzamentos() const
{
    qint64 total = 0;
    qint64 cruzando = 0;
    for (size_t y = 0; y + 1 < variacao_.size(); ++y) {
        cruzando += variacao_[y];
        total += cruzando * std::bit_width(static_cast<quint64>(cruzando + 1));
    }
    return total;
}

} // namespace zelpo
