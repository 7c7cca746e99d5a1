// Loads pictures as the game does and writes what came out as PNG files, for looking at
// decoded metafiles and bitmaps with the eye. Each picture is composited on navy, so that
// its transparent parts show; metafiles are also drawn anew at a third of their size.
//
// It also times the way from a picture file to shaped pieces in a process of its own, so
// that the peak memory it prints (the kernel's high-water mark) is that of a whole
// program: `--gerar pasta` writes the large test pictures of bench/entradas_figuras.h,
// `--pecas [--adaptar] [--pequenas] figura` cuts one into pieces and prints the time and
// the peak. bench/medir_figuras.sh runs every case.
// Build: make zelpo_ver_figura; run: ./zelpo_ver_figura folder picture...
#include "../bench/figuras_hostis.h"
#include "files/arquivos.h"
#include "game/formacao.h"
#include "records/aleatorio.h"
#include "play/novojogo.h"
#include "pieces/corte.h"
#include "pictures/figura.h"
#include "pieces/formas.h"
#include "play/encaixe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

const QColor FUNDO(0, 0, 128);

// The picture file decoded as the game decodes it, or why it cannot be.
zelpo::ResultadoFigura Carregar(const QString& arquivo, const zelpo::Ajuste& ajuste)
{
    const zelpo::Leitura lida = zelpo::LerArquivo(arquivo, zelpo::TAMANHO_MAXIMO_FIGURA);
    if (!lida.ok())
        return {{}, lida.erro};
    return zelpo::CarregarFiguraDeBytes(lida.bytes, ajuste);
}
// Pictures larger than this on a side are written shrunk.
constexpr int LADO_DE_VISTA = 4096;

bool Salvar(const QImage& imagem, const QString& caminho)
{
    QImage quadro(imagem.size(), QImage::Format_RGB32);
    quadro.fill(FUNDO);
    QPainter pintor(&quadro);
    pintor.drawImage(0, 0, imagem);
    pintor.end();
    return quadro.save(caminho);
}

// The process's peak resident memory in megabytes, from /proc.
double PicoDeMemoriaMB()
{
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : estado.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

int Gerar(const QString& pasta)
{
    using namespace zelpo::entradas;
    QDir().mkpath(pasta);
    // the build folder keeps a copy of the game's pictures beside the executable
    const QString origem = QCoreApplication::applicationDirPath() + QStringLiteral("/Medio/puente.jpg");
    const QStringList caminhos = QStringList{FotoGrande(pasta, {6000, 4000}, origem), FotoGrande(pasta, {12000, 8000}, origem),
                                             RleEnorme(pasta), JpegQueDeclaraDemais(pasta), Panorama(pasta),
                                             WmfDeElipses(pasta, 2000)}
                                 + MetarquivosHostis(pasta) + FigurasHostis(pasta);
    for (const QString& c : caminhos)
        std::printf("%s\n", qPrintable(c));
    return 0;
}

// Read and form: what a new game does with a file (decode, cut, edges and deal, pieces),
// for a screen of `--escala R` device pixels a pixel (1 unless given).
int Pecas(const QStringList& argumentos)
{
    zelpo::Opcoes opcoes;
    opcoes.Adaptar = argumentos.contains(QStringLiteral("--adaptar"));
    opcoes.Pequenas = argumentos.contains(QStringLiteral("--pequenas"));
    const qsizetype i = argumentos.indexOf(QStringLiteral("--escala"));
    const double escala = i >= 0 ? argumentos.value(i + 1).toDouble() : 1.0;
    const QString arquivo = argumentos.last();
    QElapsedTimer relogio;
    relogio.start();
    const zelpo::Leitura lida = zelpo::LerArquivo(arquivo, zelpo::TAMANHO_MAXIMO_FIGURA);
    zelpo::Aleatorio rnd(9);
    zelpo::QuebraCabeca qc = zelpo::FormarQuebraCabeca(arquivo, lida.bytes, lida.erro, opcoes, rnd, escala);
    qc.pecas.FazerTodas();
    const qint64 ms = relogio.elapsed();
    std::printf("%s%s%s%s: %lld ms, pico %.0f MB, %dx%d pecas%s\n", qPrintable(QFileInfo(arquivo).fileName()),
                opcoes.Adaptar ? " adaptar" : "", opcoes.Pequenas ? " pequenas" : "",
                escala != 1 ? qPrintable(QStringLiteral(" escala %1").arg(escala)) : "", ms, PicoDeMemoriaMB(),
                qc.jogo.Colunas, qc.jogo.Linhas,
                qc.recusa.isEmpty() ? "" : qPrintable(QStringLiteral(" (") + qc.recusa + QStringLiteral(")")));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList argumentos = app.arguments();
    if (argumentos.size() == 3 && argumentos[1] == QLatin1String("--gerar"))
        return Gerar(argumentos[2]);
    if (argumentos.size() >= 3 && argumentos[1] == QLatin1String("--pecas"))
        return Pecas(argumentos);
    if (argumentos.size() < 3) {
        std::fprintf(stderr, "uso: %s pasta figura...\n"
                             "     %s --gerar pasta\n"
                             "     %s --pecas [--adaptar] [--pequenas] figura\n", argv[0], argv[0], argv[0]);
        return 2;
    }
    const QDir pasta(argumentos[1]);
    int falhas = 0;
    for (const QString& arquivo : argumentos.mid(2)) {
        const zelpo::ResultadoFigura r = Carregar(arquivo, zelpo::Ajuste{LADO_DE_VISTA, true});
        if (!r.figura) {
            std::printf("%s: %s\n", qPrintable(arquivo), qPrintable(r.erro));
            ++falhas;
            continue;
        }
        const QImage& imagem = r.figura->imagem;
        const QString base = pasta.filePath(QFileInfo(arquivo).completeBaseName());
        Salvar(imagem, base + QStringLiteral(".png"));
        if (r.figura->metarquivo) {
            const int terco = std::max(1, std::max(imagem.width(), imagem.height()) / 3);
            const zelpo::ResultadoFigura menor = Carregar(arquivo, zelpo::Ajuste{terco, true});
            if (menor.figura) {
                Salvar(menor.figura->imagem, base + QStringLiteral("_terco.png"));
            }
        }
        std::printf("%s: %d x %d%s\n", qPrintable(arquivo), r.figura->natural.width(), r.figura->natural.height(),
                    r.figura->metarquivo ? " (metarquivo)" : "");
    }
    return falhas == 0 ? 0 : 1;
}
