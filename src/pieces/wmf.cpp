#include "pieces/wmf.h"

#include "pieces/bmp.h"
#include "pieces/bytes.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QStringDecoder>

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <variant>
#include <vector>

namespace zelpo {

namespace {

// Record functions (the low byte numbers the function, the high byte is the usual
// parameter count).
enum Funcao : quint16 {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_CREATEPALETTE = 0x00F7,
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

constexpr int TAMANHO_CABECALHO_POSICIONAVEL = 22;
constexpr int TAMANHO_CABECALHO_WMF = 18;
constexpr int PALAVRAS_CABECALHO_REGISTRO = 3;
constexpr quint16 VERSAO_WMF_ANTIGA = 0x0100;
constexpr quint16 VERSAO_WMF = 0x0300;
constexpr size_t OBJETOS_MAXIMOS = 65535;

constexpr int PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5;
constexpr int PS_TIPO = 0x000F, PS_PONTA = 0x0F00, PS_JUNCAO = 0xF000;
constexpr int PS_ENDCAP_SQUARE = 0x0100, PS_ENDCAP_FLAT = 0x0200;
constexpr int PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000;
constexpr int BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_DIBPATTERN = 5;
constexpr int OPAQUE = 2, WINDING = 2;
constexpr quint16 TA_UPDATECP = 0x0001, TA_RIGHT = 0x0002, TA_CENTER = 0x0006, TA_HORIZONTAL = 0x0006;
constexpr quint16 TA_BOTTOM = 0x0008, TA_BASELINE = 0x0018, TA_VERTICAL = 0x0018;
constexpr quint16 ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004;
constexpr quint32 PATCOPY = 0x00F00021, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;

// A positive font height is the character cell, internal leading included; Qt sizes a
// font by its em, which in common faces is about nine tenths of the cell.
constexpr qreal EM_POR_CELULA = 0.9;
constexpr qreal ALTURA_FONTE_PADRAO = 16; // a height of 0 asks for the default size
constexpr int PESO_NORMAL = 400;
constexpr int TAMANHO_MAXIMO_TEXTO_BYTES = 32767;

// GDI never smooths metafile shapes; smoothing shows the background through the seams
// between the neighbouring polygons that clip art is made of.
constexpr bool SUAVIZAR = false;

struct Caneta {
    int estilo = 0;
    int largura = 0; // logical units; 0 draws one pixel
    QColor cor = Qt::black;
};

struct Pincel {
    int estilo = BS_SOLID;
    QColor cor = Qt::white;
    int hachura = 0;
    QImage textura;
};

struct Fonte {
    int altura = 0;
    int escapamento = 0; // tenths of a degree, counter-clockwise
    int peso = 0;
    bool italico = false;
    bool sublinhado = false;
    bool riscado = false;
    QString nome;
};

// Palettes and regions take a slot in the object table but draw nothing here.
using Objeto = std::variant<std::monostate, Caneta, Pincel, Fonte>;

// What SAVEDC keeps and RESTOREDC brings back.
struct Contexto {
    Caneta caneta;
    Pincel pincel;
    Fonte fonte;
    QPointF origemJanela, origemVista;
    QSizeF extensaoJanela, extensaoVista;
    QColor corFundo = Qt::white;
    QColor corTexto = Qt::black;
    bool fundoOpaco = true;
    Qt::FillRule preenchimento = Qt::OddEvenFill;
    quint16 alinhamentoTexto = 0;
    QPointF posicao; // logical units
    std::optional<QRegion> recorte; // target pixels; none: everything
};

struct Wmf {
    QByteArray bytes;
    qint64 primeiroRegistro = 0;
    QRectF quadro; // the picture's box in the units of its records
    QSize natural;
};

class Parametros {
public:
    Parametros(const QByteArray& bytes, qint64 inicio, qint64 palavras)
        : bytes_(bytes), inicio_(inicio), palavras_(palavras)
    {
    }
    qint64 Palavras() const { return palavras_; }
    qint16 S(qint64 i) const { return i < palavras_ ? LerS16(bytes_, inicio_ + 2 * i) : 0; }
    quint16 U(qint64 i) const { return static_cast<quint16>(S(i)); }
    quint32 U32(qint64 i) const { return U(i) | (static_cast<quint32>(U(i + 1)) << 16); }
    QColor Cor(qint64 i) const
    {
        const quint32 c = U32(i);
        return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
    QPointF PontoYX(qint64 i) const { return QPointF(S(i + 1), S(i)); }
    QByteArray Bytes(qint64 primeiro, qint64 quantos) const
    {
        const qint64 disponiveis = 2 * palavras_ - primeiro;
        return primeiro < 0 || disponiveis <= 0 ? QByteArray() : bytes_.mid(inicio_ + primeiro, qMin(quantos, disponiveis));
    }

private:
    const QByteArray& bytes_;
    qint64 inicio_;
    qint64 palavras_;
};

// Calls `fazer(funcao, parametros)` for each record up to the end record; false when a
// record runs past the data.
template <typename F>
bool PercorrerRegistros(const QByteArray& b, qint64 pos, F&& fazer, bool* chegouAoFim = nullptr)
{
    while (pos + 2 * PALAVRAS_CABECALHO_REGISTRO <= b.size()) {
        const qint64 palavras = LerU32(b, pos);
        const quint16 funcao = LerU16(b, pos + 4);
        if (palavras < PALAVRAS_CABECALHO_REGISTRO || pos + 2 * palavras > b.size()) {
            return false;
        }
        if (funcao == META_EOF) {
            if (chegouAoFim) {
                *chegouAoFim = true;
            }
            return true;
        }
        fazer(funcao, Parametros(b, pos + 2 * PALAVRAS_CABECALHO_REGISTRO, palavras - PALAVRAS_CABECALHO_REGISTRO));
        pos += 2 * palavras;
    }
    return pos == b.size();
}

Qt::BrushStyle Hachura(int hachura)
{
    static constexpr Qt::BrushStyle estilos[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return hachura >= 0 && hachura < 6 ? estilos[hachura] : Qt::SolidPattern;
}

QString TextoAnsi(const QByteArray& bytes)
{
    QStringDecoder decodificador("windows-1252");
    return decodificador.isValid() ? QString(decodificador(bytes)) : QString::fromLatin1(bytes);
}

class Tocador {
public:
    Tocador(QPainter& pintor, const Wmf& wmf, QSizeF alvo) : p_(pintor), wmf_(wmf), alvo_(alvo)
    {
        escala_ = QPointF(alvo.width() / wmf.quadro.width(), alvo.height() / wmf.quadro.height());
        c_.origemJanela = c_.origemVista = wmf.quadro.topLeft();
        c_.extensaoJanela = c_.extensaoVista = wmf.quadro.size();
    }

    void Tocar()
    {
        PercorrerRegistros(wmf_.bytes, wmf_.primeiroRegistro,
                           [this](quint16 funcao, const Parametros& p) { Executar(funcao, p); });
    }

private:
    // Logical units go through the metafile's own window and viewport into the picture's
    // box, and the box is stretched over the target.
    QPointF Mapear(QPointF l) const
    {
        const qreal x = (l.x() - c_.origemJanela.x()) * c_.extensaoVista.width() / c_.extensaoJanela.width()
            + c_.origemVista.x();
        const qreal y = (l.y() - c_.origemJanela.y()) * c_.extensaoVista.height() / c_.extensaoJanela.height()
            + c_.origemVista.y();
        return {(x - wmf_.quadro.left()) * escala_.x(), (y - wmf_.quadro.top()) * escala_.y()};
    }
    qreal EscalaX() const { return c_.extensaoVista.width() / c_.extensaoJanela.width() * escala_.x(); }
    qreal EscalaY() const { return c_.extensaoVista.height() / c_.extensaoJanela.height() * escala_.y(); }
    QRectF Retangulo(const Parametros& p, qint64 i) const // bottom, right, top, left
    {
        return QRectF(Mapear(QPointF(p.S(i + 3), p.S(i + 2))), Mapear(QPointF(p.S(i + 1), p.S(i)))).normalized();
    }

    void Executar(quint16 funcao, const Parametros& p);
    void UsarCaneta();
    void UsarPincel();
    void AplicarRecorte();
    void CriarObjeto(Objeto objeto);
    void SelecionarObjeto(int indice);
    void RestaurarContexto(int n);
    void DefinirExtensao(QSizeF& extensao, const Parametros& p);
    void EscalarExtensao(QSizeF& extensao, const Parametros& p);
    void Poligono(const Parametros& p, bool fechado);
    void PoliPoligono(const Parametros& p);
    void Arco(const Parametros& p, quint16 funcao);
    void Recortar(const Parametros& p, bool excluir);
    QFont FonteAtual() const;
    void Texto(QPointF origem, const QByteArray& bytes, const std::vector<qint16>& avancos);
    void TextoSimples(const Parametros& p);
    void TextoEstendido(const Parametros& p);
    void Bitmap(const Parametros& p, int palavraDib, QRect fonte, QRectF destino);
    void Preencher(const Parametros& p, quint32 operacao, QRectF destino);
    Pincel PincelDeDib(const Parametros& p);
    Caneta CanetaDoRegistro(const Parametros& p) const;
    Fonte FonteDoRegistro(const Parametros& p) const;

    QPainter& p_;
    const Wmf& wmf_;
    QSizeF alvo_;
    QPointF escala_;
    Contexto c_;
    std::vector<Contexto> pilha_;
    std::vector<std::optional<Objeto>> objetos_;
};

void Tocador::Executar(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_SETWINDOWORG: c_.origemJanela = p.PontoYX(0); break;
    case META_SETWINDOWEXT: DefinirExtensao(c_.extensaoJanela, p); break;
    case META_SETVIEWPORTORG: c_.origemVista = p.PontoYX(0); break;
    case META_SETVIEWPORTEXT: DefinirExtensao(c_.extensaoVista, p); break;
    case META_OFFSETWINDOWORG: c_.origemJanela += p.PontoYX(0); break;
    case META_OFFSETVIEWPORTORG: c_.origemVista += p.PontoYX(0); break;
    case META_SCALEWINDOWEXT: EscalarExtensao(c_.extensaoJanela, p); break;
    case META_SCALEVIEWPORTEXT: EscalarExtensao(c_.extensaoVista, p); break;
    case META_SAVEDC: pilha_.push_back(c_); break;
    case META_RESTOREDC: RestaurarContexto(p.S(0)); break;
    case META_SETBKMODE: c_.fundoOpaco = p.U(0) == OPAQUE; break;
    case META_SETBKCOLOR: c_.corFundo = p.Cor(0); break;
    case META_SETTEXTCOLOR: c_.corTexto = p.Cor(0); break;
    case META_SETTEXTALIGN: c_.alinhamentoTexto = p.U(0); break;
    case META_SETPOLYFILLMODE: c_.preenchimento = p.U(0) == WINDING ? Qt::WindingFill : Qt::OddEvenFill; break;
    case META_CREATEPENINDIRECT: CriarObjeto(CanetaDoRegistro(p)); break;
    case META_CREATEBRUSHINDIRECT: CriarObjeto(Pincel{p.U(0), p.Cor(1), p.U(3), {}}); break;
    case META_CREATEFONTINDIRECT: CriarObjeto(FonteDoRegistro(p)); break;
    case META_DIBCREATEPATTERNBRUSH: CriarObjeto(PincelDeDib(p)); break;
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEREGION: CriarObjeto(std::monostate{}); break;
    case META_SELECTOBJECT: SelecionarObjeto(p.U(0)); break;
    case META_DELETEOBJECT:
        if (p.U(0) < objetos_.size()) {
            objetos_[p.U(0)].reset();
        }
        break;
    case META_MOVETO: c_.posicao = p.PontoYX(0); break;
    case META_LINETO:
        UsarCaneta();
        p_.drawLine(Mapear(c_.posicao), Mapear(p.PontoYX(0)));
        c_.posicao = p.PontoYX(0);
        break;
    case META_POLYGON: Poligono(p, true); break;
    case META_POLYLINE: Poligono(p, false); break;
    case META_POLYPOLYGON: PoliPoligono(p); break;
    case META_RECTANGLE: UsarCaneta(); UsarPincel(); p_.drawRect(Retangulo(p, 0)); break;
    case META_ELLIPSE: UsarCaneta(); UsarPincel(); p_.drawEllipse(Retangulo(p, 0)); break;
    case META_ROUNDRECT:
        // The corner is an ellipse of the given width and height, so its radii are halves.
        UsarCaneta();
        UsarPincel();
        p_.drawRoundedRect(Retangulo(p, 2), qAbs(p.S(1) * EscalaX()) / 2, qAbs(p.S(0) * EscalaY()) / 2);
        break;
    case META_ARC:
    case META_PIE:
    case META_CHORD: Arco(p, funcao); break;
    case META_INTERSECTCLIPRECT: Recortar(p, false); break;
    case META_EXCLUDECLIPRECT: Recortar(p, true); break;
    case META_SETPIXEL:
        p_.fillRect(QRectF(Mapear(p.PontoYX(2)), QSizeF(qMax(1.0, qAbs(EscalaX())), qMax(1.0, qAbs(EscalaY())))),
                    p.Cor(0));
        break;
    case META_TEXTOUT: TextoSimples(p); break;
    case META_EXTTEXTOUT: TextoEstendido(p); break;
    case META_PATBLT: Preencher(p, p.U32(0), QRectF(p.PontoYX(4), QSizeF(p.S(3), p.S(2)))); break;
    case META_STRETCHDIB:
        Bitmap(p, 11, QRect(p.S(6), p.S(5), p.S(4), p.S(3)), QRectF(p.PontoYX(9), QSizeF(p.S(8), p.S(7))));
        break;
    case META_DIBSTRETCHBLT:
        if (p.Palavras() <= 11) { // no bitmap: a fill with the brush
            Preencher(p, p.U32(0), QRectF(p.PontoYX(9), QSizeF(p.S(8), p.S(7))));
        } else {
            Bitmap(p, 10, QRect(p.S(5), p.S(4), p.S(3), p.S(2)), QRectF(p.PontoYX(8), QSizeF(p.S(7), p.S(6))));
        }
        break;
    case META_DIBBITBLT:
        if (p.Palavras() <= 9) {
            Preencher(p, p.U32(0), QRectF(p.PontoYX(7), QSizeF(p.S(6), p.S(5))));
        } else {
            Bitmap(p, 8, QRect(p.S(3), p.S(2), p.S(5), p.S(4)), QRectF(p.PontoYX(6), QSizeF(p.S(5), p.S(4))));
        }
        break;
    default: break; // mapping mode, raster operation, escapes, palettes: nothing to draw
    }
}

void Tocador::UsarCaneta()
{
    const Caneta& k = c_.caneta;
    const int tipo = k.estilo & PS_TIPO;
    if (tipo == PS_NULL) {
        p_.setPen(Qt::NoPen);
        return;
    }
    // GDI draws every pen at least one pixel wide, however small the picture.
    QPen caneta(k.cor, qMax(1.0, k.largura * qAbs(EscalaX())));
    caneta.setStyle(tipo == PS_DASH         ? Qt::DashLine
                        : tipo == PS_DOT    ? Qt::DotLine
                        : tipo == PS_DASHDOT ? Qt::DashDotLine
                        : tipo == PS_DASHDOTDOT ? Qt::DashDotDotLine
                                                : Qt::SolidLine);
    const int ponta = k.estilo & PS_PONTA;
    caneta.setCapStyle(ponta == PS_ENDCAP_SQUARE ? Qt::SquareCap : ponta == PS_ENDCAP_FLAT ? Qt::FlatCap : Qt::RoundCap);
    const int juncao = k.estilo & PS_JUNCAO;
    caneta.setJoinStyle(juncao == PS_JOIN_BEVEL ? Qt::BevelJoin : juncao == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin);
    p_.setPen(caneta);
    p_.setBackgroundMode(c_.fundoOpaco ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(c_.corFundo);
}

void Tocador::UsarPincel()
{
    const Pincel& b = c_.pincel;
    if (b.estilo == BS_NULL) {
        p_.setBrush(Qt::NoBrush);
    } else if (b.estilo == BS_HATCHED) {
        p_.setBrush(QBrush(b.cor, Hachura(b.hachura)));
    } else if (b.estilo == BS_DIBPATTERN) {
        p_.setBrush(b.textura.isNull() ? QBrush(Qt::NoBrush) : QBrush(b.textura));
    } else {
        p_.setBrush(QBrush(b.cor));
    }
    // Hatches show the background colour between their lines in opaque mode.
    p_.setBackgroundMode(c_.fundoOpaco ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(c_.corFundo);
}

void Tocador::AplicarRecorte()
{
    if (c_.recorte) {
        p_.setClipRegion(*c_.recorte);
    } else {
        p_.setClipping(false);
    }
}

// A new object takes the lowest free slot: later records address it by that number.
void Tocador::CriarObjeto(Objeto objeto)
{
    for (auto& slot : objetos_) {
        if (!slot) {
            slot = std::move(objeto);
            return;
        }
    }
    if (objetos_.size() < OBJETOS_MAXIMOS) {
        objetos_.emplace_back(std::move(objeto));
    }
}

void Tocador::SelecionarObjeto(int indice)
{
    if (indice < 0 || size_t(indice) >= objetos_.size() || !objetos_[indice]) {
        return;
    }
    const Objeto& o = *objetos_[indice];
    if (const auto* caneta = std::get_if<Caneta>(&o)) {
        c_.caneta = *caneta;
    } else if (const auto* pincel = std::get_if<Pincel>(&o)) {
        c_.pincel = *pincel;
    } else if (const auto* fonte = std::get_if<Fonte>(&o)) {
        c_.fonte = *fonte;
    }
}

// A negative count goes back that many saves; a positive one names a save from the
// bottom of the stack.
void Tocador::RestaurarContexto(int n)
{
    const int guardados = static_cast<int>(pilha_.size());
    const int destino = n < 0 ? guardados + n : n - 1;
    if (n == 0 || destino < 0 || destino >= guardados) {
        return;
    }
    c_ = pilha_[destino];
    pilha_.resize(destino);
    AplicarRecorte();
}

void Tocador::DefinirExtensao(QSizeF& extensao, const Parametros& p)
{
    if (p.S(0) != 0 && p.S(1) != 0) {
        extensao = QSizeF(p.S(1), p.S(0));
    }
}

void Tocador::EscalarExtensao(QSizeF& extensao, const Parametros& p) // yDenom, yNum, xDenom, xNum
{
    if (p.S(0) != 0 && p.S(1) != 0 && p.S(2) != 0 && p.S(3) != 0) {
        extensao = QSizeF(extensao.width() * p.S(3) / p.S(2), extensao.height() * p.S(1) / p.S(0));
    }
}

void Tocador::Poligono(const Parametros& p, bool fechado)
{
    const int n = p.S(0);
    if (n <= 0 || p.Palavras() < 1 + 2 * qint64(n)) {
        return;
    }
    QPolygonF pontos;
    pontos.reserve(n);
    for (int i = 0; i < n; ++i) {
        pontos.append(Mapear(QPointF(p.S(1 + 2 * i), p.S(2 + 2 * i))));
    }
    UsarCaneta();
    if (fechado) {
        UsarPincel();
        p_.drawPolygon(pontos, c_.preenchimento);
    } else {
        p_.drawPolyline(pontos);
    }
}

void Tocador::PoliPoligono(const Parametros& p)
{
    const int poligonos = p.S(0);
    if (poligonos <= 0 || p.Palavras() < 1 + qint64(poligonos)) {
        return;
    }
    QPainterPath caminho;
    caminho.setFillRule(c_.preenchimento);
    qint64 palavra = 1 + poligonos;
    for (int k = 0; k < poligonos; ++k) {
        const int n = qMax<int>(0, p.S(1 + k));
        if (palavra + 2 * qint64(n) > p.Palavras()) {
            return;
        }
        QPolygonF pontos;
        for (int i = 0; i < n; ++i, palavra += 2) {
            pontos.append(Mapear(QPointF(p.S(palavra), p.S(palavra + 1))));
        }
        caminho.addPolygon(pontos);
        caminho.closeSubpath();
    }
    UsarCaneta();
    UsarPincel();
    p_.drawPath(caminho);
}

// ARC, PIE and CHORD: an ellipse's box and two points whose rays from the centre mark
// where the curve starts and ends, counter-clockwise on the screen. The angles are those
// of the ellipse's parameter, which is what Qt's arcs take.
void Tocador::Arco(const Parametros& p, quint16 funcao)
{
    const QRectF caixa = Retangulo(p, 4);
    if (caixa.width() <= 0 || caixa.height() <= 0) {
        return;
    }
    const QPointF centro = caixa.center();
    const auto angulo = [&](QPointF ponto) {
        return std::atan2(-(ponto.y() - centro.y()) / (caixa.height() / 2), (ponto.x() - centro.x()) / (caixa.width() / 2))
            * 180 / std::numbers::pi;
    };
    const qreal inicio = angulo(Mapear(p.PontoYX(2)));
    qreal varredura = std::fmod(angulo(Mapear(p.PontoYX(0))) - inicio + 720, 360);
    if (varredura <= 1e-9) {
        varredura = 360; // both rays alike: the whole ellipse
    }
    QPainterPath caminho;
    if (funcao == META_PIE) {
        caminho.moveTo(centro);
    } else {
        caminho.arcMoveTo(caixa, inicio);
    }
    caminho.arcTo(caixa, inicio, varredura);
    UsarCaneta();
    if (funcao == META_ARC) {
        p_.setBrush(Qt::NoBrush);
    } else {
        caminho.closeSubpath();
        UsarPincel();
    }
    p_.drawPath(caminho);
}

void Tocador::Recortar(const Parametros& p, bool excluir)
{
    const QRect caixa = Retangulo(p, 0).toRect();
    const QRegion atual = c_.recorte.value_or(QRegion(QRect(QPoint(0, 0), alvo_.toSize())));
    c_.recorte = excluir ? atual.subtracted(caixa) : atual.intersected(caixa);
    AplicarRecorte();
}

Caneta Tocador::CanetaDoRegistro(const Parametros& p) const
{
    return Caneta{p.U(0), p.S(1), p.Cor(3)};
}

Fonte Tocador::FonteDoRegistro(const Parametros& p) const
{
    constexpr int BYTE_ITALICO = 10, BYTE_NOME = 18, TAMANHO_NOME = 32;
    const QByteArray atributos = p.Bytes(BYTE_ITALICO, 3);
    Fonte f;
    f.altura = p.S(0);
    f.escapamento = p.S(2);
    f.peso = p.S(4);
    f.italico = atributos.size() > 0 && atributos[0] != 0;
    f.sublinhado = atributos.size() > 1 && atributos[1] != 0;
    f.riscado = atributos.size() > 2 && atributos[2] != 0;
    QByteArray nome = p.Bytes(BYTE_NOME, TAMANHO_NOME);
    if (const qsizetype zero = nome.indexOf('\0'); zero >= 0) {
        nome.truncate(zero);
    }
    f.nome = TextoAnsi(nome);
    return f;
}

Pincel Tocador::PincelDeDib(const Parametros& p)
{
    Pincel b;
    b.estilo = BS_DIBPATTERN;
    const ResultadoFigura r = CarregarFiguraDeBytes(ArquivoDeDib(p.Bytes(4, 2 * p.Palavras())));
    if (r.figura) {
        b.textura = r.figura->imagem;
    }
    return b;
}

QFont Tocador::FonteAtual() const
{
    const Fonte& f = c_.fonte;
    QFont fonte(f.nome.isEmpty() ? QStringLiteral("Sans Serif") : f.nome);
    const qreal altura = f.altura == 0 ? ALTURA_FONTE_PADRAO : qAbs(f.altura) * qAbs(EscalaY());
    const qreal em = f.altura > 0 ? altura * EM_POR_CELULA : altura;
    const qreal maior = qMax(alvo_.width(), alvo_.height());
    fonte.setPixelSize(qBound(1, qRound(qMin(em, maior)), LADO_MAXIMO_FIGURA));
    fonte.setWeight(static_cast<QFont::Weight>(qBound(100, f.peso == 0 ? PESO_NORMAL : f.peso, 900)));
    fonte.setItalic(f.italico);
    fonte.setUnderline(f.sublinhado);
    fonte.setStrikeOut(f.riscado);
    return fonte;
}

// Text hangs from its reference point as the alignment says, turned by the font's
// escapement; `avancos` (from EXTTEXTOUT) place each character in logical units.
void Tocador::Texto(QPointF origem, const QByteArray& bytes, const std::vector<qint16>& avancos)
{
    const QString texto = TextoAnsi(bytes);
    const bool usarPosicao = c_.alinhamentoTexto & TA_UPDATECP;
    const QFont fonte = FonteAtual();
    const QFontMetricsF medidas(fonte);
    const bool comAvancos = !avancos.empty() && avancos.size() >= size_t(texto.size());
    qreal largura = 0;
    for (qsizetype i = 0; comAvancos && i < texto.size(); ++i) {
        largura += avancos[i] * qAbs(EscalaX());
    }
    if (!comAvancos) {
        largura = medidas.horizontalAdvance(texto);
    }
    const quint16 horizontal = c_.alinhamentoTexto & TA_HORIZONTAL;
    const quint16 vertical = c_.alinhamentoTexto & TA_VERTICAL;
    const qreal x = horizontal == TA_CENTER ? -largura / 2 : horizontal == TA_RIGHT ? -largura : 0;
    const qreal y = vertical == TA_BASELINE ? 0 : vertical == TA_BOTTOM ? -medidas.descent() : medidas.ascent();

    const QPointF ancora = Mapear(usarPosicao ? c_.posicao : origem);
    p_.save();
    p_.translate(ancora);
    p_.rotate(-c_.fonte.escapamento / 10.0);
    if (c_.fundoOpaco) {
        p_.fillRect(QRectF(x, y - medidas.ascent(), largura, medidas.height()), c_.corFundo);
    }
    p_.setFont(fonte);
    p_.setPen(c_.corTexto);
    p_.setBackgroundMode(Qt::TransparentMode);
    if (comAvancos) {
        qreal cursor = x;
        for (qsizetype i = 0; i < texto.size(); ++i) {
            p_.drawText(QPointF(cursor, y), QString(texto[i]));
            cursor += avancos[i] * qAbs(EscalaX());
        }
    } else {
        p_.drawText(QPointF(x, y), texto);
    }
    p_.restore();
    if (usarPosicao && EscalaX() != 0) {
        c_.posicao.rx() += largura / EscalaX();
    }
}

void Tocador::TextoSimples(const Parametros& p) // count, string, y, x
{
    const int n = p.S(0);
    const qint64 palavrasTexto = (qint64(n) + 1) / 2;
    if (n <= 0 || n > TAMANHO_MAXIMO_TEXTO_BYTES || p.Palavras() < 3 + palavrasTexto) {
        return;
    }
    Texto(p.PontoYX(1 + palavrasTexto), p.Bytes(2, n), {});
}

void Tocador::TextoEstendido(const Parametros& p) // y, x, count, options, [box], string, [dx]
{
    const int n = p.S(2);
    const quint16 opcoes = p.U(3);
    qint64 palavra = 4;
    std::optional<QRectF> caixa;
    if (opcoes & (ETO_OPAQUE | ETO_CLIPPED)) {
        caixa = QRectF(Mapear(QPointF(p.S(4), p.S(5))), Mapear(QPointF(p.S(6), p.S(7)))).normalized();
        palavra = 8;
    }
    if (n < 0 || n > TAMANHO_MAXIMO_TEXTO_BYTES || p.Palavras() < palavra + (qint64(n) + 1) / 2) {
        return;
    }
    std::vector<qint16> avancos;
    const qint64 palavraAvancos = palavra + (qint64(n) + 1) / 2;
    if (p.Palavras() >= palavraAvancos + n) {
        for (int i = 0; i < n; ++i) {
            avancos.push_back(p.S(palavraAvancos + i));
        }
    }
    p_.save();
    if (caixa && (opcoes & ETO_OPAQUE)) {
        p_.fillRect(*caixa, c_.corFundo);
    }
    if (caixa && (opcoes & ETO_CLIPPED)) {
        p_.setClipRect(*caixa, Qt::IntersectClip);
    }
    if (n > 0) {
        Texto(p.PontoYX(0), p.Bytes(2 * palavra, n), avancos);
    }
    p_.restore();
}

// A bitmap record without a bitmap paints its box with the brush, or black or white.
void Tocador::Preencher(const Parametros&, quint32 operacao, QRectF destino)
{
    const QRectF caixa = QRectF(Mapear(destino.topLeft()), Mapear(destino.bottomRight())).normalized();
    if (operacao == BLACKNESS || operacao == WHITENESS) {
        p_.fillRect(caixa, operacao == BLACKNESS ? Qt::black : Qt::white);
    } else if (operacao == PATCOPY) {
        UsarPincel();
        p_.fillRect(caixa, p_.brush());
    }
}

// The source box of a bottom-up bitmap counts its y from the bottom row. Every raster
// operation that uses the source is drawn as a plain copy.
void Tocador::Bitmap(const Parametros& p, int palavraDib, QRect fonte, QRectF destino)
{
    const QByteArray dib = p.Bytes(2 * qint64(palavraDib), 2 * p.Palavras());
    const ResultadoFigura r = CarregarFiguraDeBytes(ArquivoDeDib(dib));
    if (!r.figura) {
        return;
    }
    const QImage& imagem = r.figura->imagem;
    if (fonte.width() <= 0 || fonte.height() <= 0) {
        fonte = imagem.rect();
    } else if (LerS32(dib, 8) > 0) {
        fonte.moveTop(imagem.height() - fonte.top() - fonte.height());
    }
    const QPointF a = Mapear(destino.topLeft());
    const QPointF b = Mapear(destino.bottomRight());
    const QImage parte = imagem.copy(fonte).mirrored(b.x() < a.x(), b.y() < a.y());
    p_.drawImage(QRectF(a, b).normalized(), parte);
}

bool CabecalhoValido(const QByteArray& b, qint64 h)
{
    const quint16 tipo = LerU16(b, h);
    const quint16 versao = LerU16(b, h + 4);
    return b.size() >= h + TAMANHO_CABECALHO_WMF && (tipo == 1 || tipo == 2) && LerU16(b, h + 2) == 9
        && (versao == VERSAO_WMF || versao == VERSAO_WMF_ANTIGA);
}

QImage DesenharWmf(const Wmf& wmf, QSize tamanho)
{
    if (!TamanhoAceitavel(tamanho)) {
        return {};
    }
    QImage imagem(tamanho, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing, SUAVIZAR);
    Tocador(pintor, wmf, tamanho).Tocar();
    pintor.end();
    return imagem.convertToFormat(QImage::Format_ARGB32);
}

// Without a placeable header or a window, the picture is whatever its records draw,
// one logical unit to the pixel.
QRectF CaixaDoDesenho(Wmf& wmf)
{
    wmf.quadro = QRectF(0, 0, 1, 1);
    QPicture gravacao;
    QPainter pintor(&gravacao);
    Tocador(pintor, wmf, QSizeF(1, 1)).Tocar();
    pintor.end();
    return QRectF(gravacao.boundingRect());
}

// The first window the records set, if any.
std::optional<QRectF> JanelaDosRegistros(const Wmf& wmf)
{
    QPointF origem;
    std::optional<QSizeF> extensao;
    bool origemVista = false;
    PercorrerRegistros(wmf.bytes, wmf.primeiroRegistro, [&](quint16 funcao, const Parametros& p) {
        if (funcao == META_SETWINDOWORG && !origemVista) {
            origem = p.PontoYX(0);
            origemVista = true;
        } else if (funcao == META_SETWINDOWEXT && !extensao && p.S(0) != 0 && p.S(1) != 0) {
            extensao = QSizeF(p.S(1), p.S(0));
        }
    });
    if (!extensao) {
        return std::nullopt;
    }
    return QRectF(origem, *extensao).normalized();
}

QSize TamanhoEmPixels(QSizeF unidades, qreal unidadesPorPolegada)
{
    return QSize(qMax(1, qRound(qAbs(unidades.width()) * PIXELS_POR_POLEGADA / unidadesPorPolegada)),
                 qMax(1, qRound(qAbs(unidades.height()) * PIXELS_POR_POLEGADA / unidadesPorPolegada)));
}

const char* AnalisarWmf(Wmf& wmf)
{
    const QByteArray& b = wmf.bytes;
    const bool posicionavel = LerU32(b, 0) == CHAVE_WMF_POSICIONAVEL;
    const qint64 cabecalho = posicionavel ? TAMANHO_CABECALHO_POSICIONAVEL : 0;
    if (!CabecalhoValido(b, cabecalho)) {
        return ERRO_CORROMPIDO;
    }
    wmf.primeiroRegistro = cabecalho + TAMANHO_CABECALHO_WMF;
    bool chegouAoFim = false;
    const bool inteiro = PercorrerRegistros(b, wmf.primeiroRegistro, [](quint16, const Parametros&) {}, &chegouAoFim);
    // Without the end record, the size the header declares tells a cut file.
    if (!inteiro || (!chegouAoFim && 2 * qint64(LerU32(b, cabecalho + 6)) > b.size())) {
        return ERRO_CORROMPIDO;
    }
    const QRectF caixa = QRectF(QPointF(LerS16(b, 6), LerS16(b, 8)), QPointF(LerS16(b, 10), LerS16(b, 12))).normalized();
    const quint16 porPolegada = LerU16(b, 14);
    if (posicionavel && !caixa.isEmpty() && porPolegada > 0) {
        wmf.quadro = caixa;
        wmf.natural = TamanhoEmPixels(caixa.size(), porPolegada);
    } else if (const auto janela = JanelaDosRegistros(wmf)) {
        wmf.quadro = *janela;
        wmf.natural = TamanhoEmPixels(janela->size(), UNIDADES_POR_POLEGADA_WMF);
    } else {
        const QRectF desenho = CaixaDoDesenho(wmf);
        if (desenho.isEmpty()) {
            return ERRO_CORROMPIDO;
        }
        wmf.quadro = desenho;
        wmf.natural = desenho.size().toSize();
    }
    return TamanhoAceitavel(wmf.natural) ? nullptr : ERRO_GRANDE;
}

} // namespace

bool PareceWmf(const QByteArray& bytes)
{
    if (LerU32(bytes, 0) == CHAVE_WMF_POSICIONAVEL) {
        return bytes.size() >= TAMANHO_CABECALHO_POSICIONAVEL;
    }
    return CabecalhoValido(bytes, 0);
}

ResultadoFigura DecodificarWmf(const QByteArray& bytes)
{
    auto wmf = std::make_shared<Wmf>();
    wmf->bytes = bytes;
    if (const char* problema = AnalisarWmf(*wmf)) {
        return FalhaDeFigura(problema);
    }
    std::function<QImage(QSize)> desenhar = [wmf](QSize tamanho) { return DesenharWmf(*wmf, tamanho); };
    QImage imagem = desenhar(wmf->natural);
    if (imagem.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    return {Figura{std::move(imagem), true, std::move(desenhar)}, {}};
}

} // namespace zelpo
