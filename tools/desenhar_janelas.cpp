// Draws the pictures of the small windows and the program's icons, so that every picture
// in resources/janelas and resources/icons can be made again from this one file:
//   janelas/cor_da_borda.png  56 x 40: white oval with "Cor da borda", transparent corners
//                             (the colour button of the new-puzzle dialog)
//   janelas/logotipo.png      291 x 98: the about window's logo
//   janelas/mao.png           32 x 32: pointing hand cursor, fingertip at (5, 0)
//   icons/zelpora-N.png       the application icon at N = 16 ... 256, zelpora.png = 256,
//                             zelpora.svg the same piece as a vector
//   icons/application-x-zelpora-zpr-N.png  a saved game: a page with a puzzle piece
// Build: make zelpo_desenhar_janelas; run: ./zelpo_desenhar_janelas <resources folder>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int TAMANHOS_ICONE[] = {16, 32, 48, 64, 128, 256};

// The tab of a jigsaw side, in units of the side's length: x runs along the side, y away
// from the body. The neck narrows before the round head, so the pieces lock.
struct Segmento {
    QPointF c1, c2, fim;
};
constexpr double INICIO_PESCOCO = 0.35;
constexpr double ALTURA_PINO = 0.28;
const Segmento PINO[] = {
    {{0.40, 0.00}, {0.42, 0.05}, {0.38, 0.10}},
    {{0.33, 0.18}, {0.38, 0.28}, {0.50, 0.28}},
    {{0.62, 0.28}, {0.67, 0.18}, {0.62, 0.10}},
    {{0.58, 0.05}, {0.60, 0.00}, {0.65, 0.00}},
};

// Appends the side from a to b (the path already stands at a). saida: +1 a tab, -1 a
// blank, 0 a straight side. Walking the body clockwise on screen (y down), the outside
// lies to the left of the direction of travel.
void Lado(QPainterPath& caminho, QPointF a, QPointF b, int saida)
{
    if (saida == 0) {
        caminho.lineTo(b);
        return;
    }
    const QPointF ao = b - a;
    const QPointF fora = QPointF(ao.y(), -ao.x()) * saida;
    auto ponto = [&](QPointF u) { return a + ao * u.x() + fora * u.y(); };
    caminho.lineTo(ponto({INICIO_PESCOCO, 0}));
    for (const Segmento& s : PINO)
        caminho.cubicTo(ponto(s.c1), ponto(s.c2), ponto(s.fim));
    caminho.lineTo(b);
}

// A piece whose body is the square at (x, y) with side l; lados: top, right, bottom, left.
QPainterPath Peca(double x, double y, double l, const int (&lados)[4])
{
    const QPointF p[4] = {{x, y}, {x + l, y}, {x + l, y + l}, {x, y + l}};
    QPainterPath caminho(p[0]);
    for (int i = 0; i < 4; ++i)
        Lado(caminho, p[i], p[(i + 1) % 4], lados[i]);
    caminho.closeSubpath();
    return caminho;
}

// The icon's piece in a 256-unit box: tabs up and right, blanks down and left.
constexpr int LADOS_ICONE[4] = {1, 1, -1, -1};
QPainterPath PecaIcone()
{
    const double l = 240.0 / (1 + ALTURA_PINO);
    return Peca(8, 248 - l, l, LADOS_ICONE);
}

struct Tinta {
    QColor claro, escuro, contorno;
};
const Tinta LARANJA{QColor(255, 196, 64), QColor(232, 98, 26), QColor(122, 48, 12)};
const Tinta AZUL{QColor(110, 190, 255), QColor(30, 90, 200), QColor(16, 40, 110)};

void PintarPeca(QPainter& p, const QPainterPath& peca, const Tinta& tinta, double traco)
{
    const QRectF r = peca.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, tinta.claro);
    g.setColorAt(1, tinta.escuro);
    p.setBrush(g);
    p.setPen(QPen(tinta.contorno, traco, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(peca);
    // a soft shine on the upper left of the body
    QPainterPath brilho;
    brilho.addEllipse(QRectF(r.left() + r.width() * 0.14, r.top() + r.height() * 0.36,
                             r.width() * 0.30, r.height() * 0.16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawPath(brilho.intersected(peca));
}

QImage Transparente(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

bool Gravar(const QImage& img, const QString& caminho)
{
    if (img.save(caminho))
        return true;
    std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(caminho));
    return false;
}

QImage IconeAplicacao(int lado)
{
    QImage img = Transparente(lado, lado);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 256.0, lado / 256.0);
    // at 16 px a pen of 256/16 units is one pixel; thinner outlines vanish there
    PintarPeca(p, PecaIcone(), LARANJA, std::max(6.0, 256.0 / lado));
    return img;
}

// A page with its top right corner folded, and the icon's piece on it.
QImage IconeDocumento(int lado)
{
    QImage img = Transparente(lado, lado);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 256.0, lado / 256.0);
    const double traco = std::max(4.0, 256.0 / lado);
    const double dobra = 56;
    QPainterPath folha;
    folha.moveTo(36, 8);
    folha.lineTo(220 - dobra, 8);
    folha.lineTo(220, 8 + dobra);
    folha.lineTo(220, 248);
    folha.lineTo(36, 248);
    folha.closeSubpath();
    QLinearGradient papel(0, 8, 0, 248);
    papel.setColorAt(0, QColor(255, 255, 255));
    papel.setColorAt(1, QColor(226, 230, 236));
    p.setBrush(papel);
    p.setPen(QPen(QColor(96, 104, 116), traco, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(folha);
    QPainterPath canto;
    canto.moveTo(220 - dobra, 8);
    canto.lineTo(220 - dobra, 8 + dobra);
    canto.lineTo(220, 8 + dobra);
    canto.closeSubpath();
    p.setBrush(QColor(200, 206, 214));
    p.drawPath(canto);
    // the piece, scaled into the lower part of the page
    p.translate(58, 92);
    p.scale(0.56, 0.56);
    PintarPeca(p, PecaIcone(), LARANJA, traco / 0.56);
    return img;
}

QString PathSvg(const QPainterPath& caminho)
{
    QString d;
    QTextStream s(&d);
    s.setRealNumberPrecision(5);
    for (int i = 0; i < caminho.elementCount(); ++i) {
        const QPainterPath::Element e = caminho.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement: s << "M" << e.x << "," << e.y << " "; break;
        case QPainterPath::LineToElement: s << "L" << e.x << "," << e.y << " "; break;
        case QPainterPath::CurveToElement: s << "C" << e.x << "," << e.y << " "; break;
        case QPainterPath::CurveToDataElement: s << e.x << "," << e.y << " "; break;
        }
    }
    s << "Z";
    return d;
}

bool IconeSvg(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QPainterPath peca = PecaIcone();
    const QRectF r = peca.boundingRect();
    QTextStream s(&f);
    s << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
      << "  <defs>\n"
      << "    <linearGradient id=\"tinta\" gradientUnits=\"userSpaceOnUse\" x1=\"" << r.left() << "\" y1=\""
      << r.top() << "\" x2=\"" << r.right() << "\" y2=\"" << r.bottom() << "\">\n"
      << "      <stop offset=\"0\" stop-color=\"" << LARANJA.claro.name() << "\"/>\n"
      << "      <stop offset=\"1\" stop-color=\"" << LARANJA.escuro.name() << "\"/>\n"
      << "    </linearGradient>\n"
      << "  </defs>\n"
      << "  <path d=\"" << PathSvg(peca) << "\" fill=\"url(#tinta)\" stroke=\"" << LARANJA.contorno.name()
      << "\" stroke-width=\"6\" stroke-linejoin=\"round\"/>\n"
      << "</svg>\n";
    return true;
}

// The colour button's picture. No antialiasing on the oval: its edge is a hard mask, so
// the button's colour shows cleanly around it, as through a 16-colour picture's mask.
QImage CorDaBorda()
{
    QImage img = Transparente(56, 40);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(0, 0, 56, 40));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(Qt::black);
    p.setRenderHint(QPainter::TextAntialiasing);
    const char* linhas[] = {"Cor", "da", "borda"};
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(0, 5 + i * 10, 56, 10), Qt::AlignCenter, QString::fromUtf8(linhas[i]));
    return img;
}

QImage Logotipo()
{
    QImage img = Transparente(291, 98);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // two pieces locking together: the blue one's blank takes the orange one's tab
    const double l = 44;
    const int ladosA[4] = {1, 1, -1, 0};
    const int ladosB[4] = {-1, 0, 1, -1};
    PintarPeca(p, Peca(10, 34, l, ladosA), LARANJA, 2);
    p.save();
    p.translate(10 + l, 34 - 6);
    p.rotate(-6);
    PintarPeca(p, Peca(3, 0, l, ladosB), AZUL, 2);
    p.restore();

    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(44);
    f.setLetterSpacing(QFont::AbsoluteSpacing, -1);
    QPainterPath texto;
    texto.addText(0, 0, f, QStringLiteral("Zelpora"));
    // the word fills the room right of the pieces, its baseline at y = 62
    const double largura = 291 - 118 - 6;
    const double escala = std::min(1.0, largura / texto.boundingRect().width());
    texto = QTransform::fromScale(escala, escala).map(texto);
    texto.translate(118 - texto.boundingRect().left(), 62);
    const QRectF r = texto.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(40, 110, 220));
    g.setColorAt(1, QColor(16, 40, 110));
    p.setPen(QPen(QColor(255, 255, 255), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(texto.translated(2, 2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(texto.translated(2, 2));
    p.setBrush(g);
    p.drawPath(texto);

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(13);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(sub);
    p.setPen(QColor(232, 98, 26));
    p.drawText(QRectF(120, 70, 170, 18), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("quebra-cabeças"));
    return img;
}

// A pointing hand as a two-colour cursor, pixel by pixel: X black, . white, blank
// transparent. The index finger points straight up with its tip at (5, 0).
const char* const MAO[] = {
    "    XX",
    "   X..X",
    "   X..X",
    "   X..X",
    "   X..X",
    "   X..XXXX",
    "   X..X..XXXX",
    "   X..X..X..XXXX",
    "   X..X..X..X..X",
    "XX X..X..X..X..X",
    "X.XX...........X",
    "X..X...........X",
    " X.............X",
    " X.............X",
    "  X............X",
    "  X...........X",
    "   X..........X",
    "   X.........X",
    "    X........X",
    "    X........X",
    "    XXXXXXXXXX",
};

QImage Mao()
{
    QImage img = Transparente(32, 32);
    int y = 0;
    for (const char* linha : MAO) {
        for (int x = 0; linha[x] != '\0'; ++x) {
            if (linha[x] == 'X')
                img.setPixel(x, y, qRgb(0, 0, 0));
            else if (linha[x] == '.')
                img.setPixel(x, y, qRgb(255, 255, 255));
        }
        ++y;
    }
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir raiz(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources"));
    raiz.mkpath(QStringLiteral("janelas"));
    raiz.mkpath(QStringLiteral("icons"));
    auto em = [&](const QString& nome) { return raiz.filePath(nome); };

    bool ok = Gravar(CorDaBorda(), em(QStringLiteral("janelas/cor_da_borda.png")));
    ok = Gravar(Logotipo(), em(QStringLiteral("janelas/logotipo.png"))) && ok;
    ok = Gravar(Mao(), em(QStringLiteral("janelas/mao.png"))) && ok;
    for (int lado : TAMANHOS_ICONE) {
        ok = Gravar(IconeAplicacao(lado), em(QStringLiteral("icons/zelpora-%1.png").arg(lado))) && ok;
        ok = Gravar(IconeDocumento(lado), em(QStringLiteral("icons/application-x-zelpora-zpr-%1.png").arg(lado))) && ok;
    }
    ok = Gravar(IconeAplicacao(256), em(QStringLiteral("icons/zelpora.png"))) && ok;
    ok = Gravar(IconeDocumento(256), em(QStringLiteral("icons/application-x-zelpora-zpr.png"))) && ok;
    ok = IconeSvg(em(QStringLiteral("icons/zelpora.svg"))) && ok;
    return ok ? 0 : 1;
}
