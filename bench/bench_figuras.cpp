// Large pictures to shaped pieces, in this process: phone photos of 24 and 96 megapixels
// fitted and cropped, a run-length bitmap and a JPEG that declare 16384 x 4096, a 20000 px
// panorama, a metafile of 2,000 ellipses on an 8000 px box, and metafiles of a megabyte
// built to ask for as much drawing as they can. The pictures are written once per run
// (bench/entradas_figuras.h). Peak memory needs a process of its own: see
// bench/medir_figuras.sh.
#include "entradas_figuras.h"
#include "pecas_da_figura.h"
#include "records/aleatorio.h"
#include "play/novojogo.h"
#include "pieces/corte.h"
#include "pictures/figura.h"
#include "pieces/formas.h"
#include "play/encaixe.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

using namespace zelpo;

namespace {

const QString& Pasta()
{
    static QTemporaryDir tmp;
    static const QString pasta = tmp.path();
    return pasta;
}

QString Entrada(const char* nome)
{
    using namespace entradas;
    static const QString origem = QStringLiteral(ZELPO_FONTE "/pictures/Medio/puente.jpg");
    const QString qual = QString::fromLatin1(nome);
    if (qual == QLatin1String("24MP"))
        return FotoGrande(Pasta(), {6000, 4000}, origem);
    if (qual == QLatin1String("96MP"))
        return FotoGrande(Pasta(), {12000, 8000}, origem);
    if (qual == QLatin1String("RLE"))
        return RleEnorme(Pasta());
    if (qual == QLatin1String("JPEG651"))
        return JpegQueDeclaraDemais(Pasta());
    if (qual == QLatin1String("panorama"))
        return Panorama(Pasta());
    if (qual == QLatin1String("WMF"))
        return WmfDeElipses(Pasta(), 2000);
    static const QStringList hostis = MetarquivosHostis(Pasta());
    for (const QString& h : hostis)
        if (h.contains(qual))
            return h;
    return {};
}

void FiguraAtePecas(benchmark::State& estado, const char* nome, bool adaptar)
{
    const QString arquivo = Entrada(nome);
    Opcoes opcoes;
    opcoes.Adaptar = adaptar;
    Aleatorio rnd(9);
    QString erro;
    for (auto _ : estado) {
        PecasMontadas pecas = PecasDaFigura(arquivo, opcoes, rnd, erro);
        if (!erro.isEmpty())
            estado.SkipWithError(qPrintable(erro));
        pecas.FazerTodas();
        benchmark::DoNotOptimize(pecas.Figura(pecas.Quantas() - 1).constBits());
    }
}

BENCHMARK_CAPTURE(FiguraAtePecas, Foto24MPAdaptada, "24MP", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Foto24MPCortada, "24MP", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Foto96MPAdaptada, "96MP", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Foto96MPCortada, "96MP", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Rle16384x4096Adaptado, "RLE", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Rle16384x4096Cortado, "RLE", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Jpeg633BytesAdaptado, "JPEG651", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Panorama20000x300, "panorama", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, Wmf2000Elipses, "WMF", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, WmfHostilElipses1MB, "hostil_elipses", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, WmfHostilPoligonos1MB, "hostil_poligonos", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, WmfHostilTextos1MB, "hostil_textos", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, WmfHostilRecortes1MB, "hostil_recortes", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, WmfHostilBitmaps1MB, "hostil_bitmaps", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FiguraAtePecas, EmfHostil1MB, "hostil.emf", true)->Unit(benchmark::kMillisecond);

} // namespace
