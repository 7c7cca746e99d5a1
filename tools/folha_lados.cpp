// Contact sheets of the edge-shape tables, for looking at the outlines as a player would
// see them. Writes two PNG files into the folder given (default: the current one):
//   folha_lados.png   every horizontal outline of both sizes, one group a row, the part
//                     below the outline shaded, the outline's pixels in red;
//   folha_pecas.png   a 6 x 6 normal and a 9 x 9 small puzzle of random codes, each piece
//                     filled in its own colour, so the interlocking can be judged.
// Build: make zelpo_folha_lados; run: ./zelpo_folha_lados [folder]
#include "records/aleatorio.h"
#include "records/jogo.h"
#include "pieces/formas.h"
#include "pieces/lados.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

namespace {

using namespace zelpo;

constexpr int ESCALA = 3;
constexpr int ESPACO = 8;
constexpr int VARIANTES = 4;
constexpr int GRUPOS = 13;
constexpr int ROTULO = 40;

// One outline in its horizontal frame, magnified: the bottom cut's pixels dark, the
// outline's vertices red.
QImage Ladrilho(int codigo, bool pequenas)
{
    const Geometria g = GeometriaPara(pequenas);
    const int l = g.TamanhoParte - 1;
    const int k = g.MargemParte - 1;
    ListaPontos lista = CarregarLado(codigo, true, pequenas);
    const int n = static_cast<int>(lista.size()) - PONTOS_DE_FECHO;
    lista[n] = QPoint(l, k);
    lista[n + 1] = QPoint(0, k);
    lista[n + 2] = QPoint(0, g.m());
    QPolygon poligono(static_cast<int>(lista.size()));
    std::copy(lista.begin(), lista.end(), poligono.begin());
    const QRegion abaixo(poligono, Qt::WindingFill);

    QImage imagem(l + 1, k + 1, QImage::Format_RGB32);
    imagem.fill(QColor(235, 225, 200));
    for (int y = 0; y <= k; ++y)
        for (int x = 0; x <= l; ++x)
            if (abaixo.contains(QPoint(x, y)))
                imagem.setPixel(x, y, qRgb(90, 110, 150));
    for (int i = 0; i < n; ++i)
        imagem.setPixel(lista[i], qRgb(220, 40, 40));
    return imagem.scaled(imagem.size() * ESCALA);
}

QImage FolhaDosLados()
{
    const QSize normal = Ladrilho(1, false).size();
    const QSize pequena = Ladrilho(1, true).size();
    const int larguraConjunto = VARIANTES * (normal.width() + ESPACO);
    QImage folha(ROTULO + larguraConjunto + VARIANTES * (pequena.width() + ESPACO),
                 GRUPOS * (normal.height() + ESPACO), QImage::Format_RGB32);
    folha.fill(Qt::white);
    QPainter pintor(&folha);
    for (int grupo = 1; grupo <= GRUPOS; ++grupo) {
        const int y = (grupo - 1) * (normal.height() + ESPACO);
        pintor.drawText(QRect(0, y, ROTULO, normal.height()), Qt::AlignCenter, QString::number(grupo));
        for (int v = 1; v <= VARIANTES; ++v) {
            const int codigo = 4 * grupo - 4 + v;
            pintor.drawImage(ROTULO + (v - 1) * (normal.width() + ESPACO), y, Ladrilho(codigo, false));
            pintor.drawImage(ROTULO + larguraConjunto + (v - 1) * (pequena.width() + ESPACO), y,
                             Ladrilho(codigo, true));
        }
    }
    return folha;
}

// A whole puzzle as the board shows it when complete, each piece in its own colour with
// its bevel, through the same mask and picture stamping the game uses.
QImage Quebracabeca(int colunas, int linhas, bool pequenas, uint64_t semente)
{
    const Geometria g = GeometriaPara(pequenas);
    const int t = g.TamanhoParte;
    const int c = g.TamanhoCelula;
    Aleatorio rnd(semente);
    std::array<Parte, MAX_PECAS> partes{};
    SortearLados(partes, colunas, linhas, rnd);
    // each piece's square of the canvas in a colour of its own
    QImage canvas(colunas * t + g.MargemParte, linhas * t + g.MargemParte, QImage::Format_RGB32);
    {
        QPainter p(&canvas);
        for (int i = 0; i < colunas * linhas; ++i)
            p.fillRect(partes[i].Coluna * t, partes[i].Linha * t, c, c, QColor::fromHsv((i * 67) % 360, 90 + (i % 3) * 40, 230));
    }
    PecasMontadas pecas(canvas, 1, partes, colunas, linhas, g);
    QImage tabuleiro(colunas * t + g.MargemParte, linhas * t + g.MargemParte, QImage::Format_RGB32);
    tabuleiro.fill(Qt::white);
    QPainter pintor(&tabuleiro);
    for (int i = 0; i < colunas * linhas; ++i) {
        pintor.setClipRegion(pecas.Forma(i).translated(partes[i].Coluna * t, partes[i].Linha * t));
        pintor.drawImage(partes[i].Coluna * t, partes[i].Linha * t, pecas.Figura(i));
    }
    pintor.end();
    return tabuleiro.scaled(tabuleiro.size() * 2);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir pasta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const QImage normal = Quebracabeca(6, 6, false, 7);
    const QImage pequenas = Quebracabeca(9, 9, true, 11);
    QImage pecas(normal.width() + ESPACO + pequenas.width(), std::max(normal.height(), pequenas.height()),
                 QImage::Format_RGB32);
    pecas.fill(Qt::white);
    QPainter pintor(&pecas);
    pintor.drawImage(0, 0, normal);
    pintor.drawImage(normal.width() + ESPACO, 0, pequenas);
    pintor.end();
    const bool ok = FolhaDosLados().save(pasta.filePath(QStringLiteral("folha_lados.png")))
        && pecas.save(pasta.filePath(QStringLiteral("folha_pecas.png")));
    return ok ? 0 : 1;
}
