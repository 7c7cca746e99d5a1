// Shaping every piece of the two largest puzzles: 9 x 9 small pieces and 6 x 6 normal
// ones. The whole picture-to-pieces pipeline has to fit in 30 ms, so this step should
// take a few.
#include "records/aleatorio.h"
#include "pieces/formas.h"
#include "pieces/lados.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelpo;

void MontarTodas(benchmark::State& estado, int colunas, int linhas, bool pequenas)
{
    const Geometria g = GeometriaPara(pequenas);
    Aleatorio rnd(1);
    std::array<Parte, MAX_PECAS> partes{};
    SortearLados(partes, colunas, linhas, rnd);
    QImage canvas(colunas * g.TamanhoParte + g.MargemParte, linhas * g.TamanhoParte + g.MargemParte,
                  QImage::Format_RGB32);
    canvas.fill(qRgb(90, 140, 200));
    CarregarLado(1, true, pequenas); // the tables are read once per run, not per puzzle
    for (auto _ : estado) {
        PecasMontadas pecas(canvas, 1, partes, colunas, linhas, g);
        pecas.FazerTodas();
        benchmark::DoNotOptimize(pecas.Figura(colunas * linhas - 1).constBits());
    }
    estado.SetItemsProcessed(estado.iterations() * colunas * linhas);
}

void BM_MontarPecas9x9Pequenas(benchmark::State& estado) { MontarTodas(estado, 9, 9, true); }
void BM_MontarPecas6x6Normais(benchmark::State& estado) { MontarTodas(estado, 6, 6, false); }

void BM_FormaDaPeca(benchmark::State& estado)
{
    const Geometria g = GeometriaPara(false);
    const Parte p{13, 22, 35, 40, 1, 1, 0};
    for (auto _ : estado)
        benchmark::DoNotOptimize(FormaDaPeca(p, g).rectCount());
}

} // namespace

BENCHMARK(BM_MontarPecas9x9Pequenas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MontarPecas6x6Normais)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormaDaPeca)->Unit(benchmark::kMicrosecond);
