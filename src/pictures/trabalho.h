#pragma once
// What drawing a metafile's shapes will cost, estimated before they are drawn, for the two
// metafile players (wmf_*.cpp and emf.cpp), which stop once a picture's share of work is
// spent. A rasterizer's work grows with the pixels a shape covers and, on every row of
// pixels, with the edges that cross the row, whose crossings it sorts: a polygon of a few
// thousand edges that all cross every row costs seconds, while the same number of edges
// in small polygons costs milliseconds. ContadorDeArestas counts those crossings from the
// polygons' vertices in the picture's pixels.

#include <QPolygonF>

#include <vector>

namespace zelpo {

class ContadorDeArestas {
public:
    // Rows 0 to altura - 1 of the picture; edges above or below it cost nothing.
    explicit ContadorDeArestas(int altura);

    void Acrescentar(const QPolygonF& pontos, bool fechado);

    // The sum over the rows of k * log2(k + 1), k the edges that cross the row.
    qint64 Cruzamentos() const;

private:
    std::vector<int> variacao_; // edges starting minus edges ending at each row
};

} // namespace zelpo
