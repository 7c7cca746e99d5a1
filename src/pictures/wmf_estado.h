#pragma once
// The inside of the Windows metafile player, shared by its three files and by nobody
// else. It holds the record reader (record numbers, a bounds-checked view of a record's
// parameters, the walk over the records), the parsed metafile, and the player, Tocador,
// with the device context it keeps: current pen, brush and font, window and viewport,
// colours and modes, clipping, the SAVEDC stack and the object table.
//
// wmf.cpp parses the header, finds the natural size and asks Tocador to play the records;
// wmf_estado.cpp carries out the records that change the device context and turns its
// pens, brushes and fonts into Qt's; wmf_registros.cpp dispatches every record and draws
// the shapes, text and bitmaps.
//
// A metafile of a few hundred kilobytes can ask for hours of drawing (a polygon of a
// hundred thousand crossing edges, thousands of page-sized ellipses, glyphs larger than
// the picture, clip regions of countless rectangles). Tocador prices every record before
// it draws it and stops playing when a picture's share of work is spent, so any metafile
// becomes a picture in a bounded time, the first records drawn as usual.

#include "records/bytes.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QSizeF>
#include <QString>

#include <optional>
#include <set>
#include <type_traits>
#include <variant>
#include <vector>

namespace zelpo::wmf_interno {

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

constexpr int PALAVRAS_CABECALHO_REGISTRO = 3;
constexpr int BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_DIBPATTERN = 5;

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

// Calls `fazer(funcao, parametros)` for each record up to the end record, or until
// `fazer` returns false; false when a record runs past the data.
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
        const Parametros p(b, pos + 2 * PALAVRAS_CABECALHO_REGISTRO, palavras - PALAVRAS_CABECALHO_REGISTRO);
        if constexpr (std::is_same_v<std::invoke_result_t<F, quint16, const Parametros&>, bool>) {
            if (!fazer(funcao, p)) {
                return true;
            }
        } else {
            fazer(funcao, p);
        }
        pos += 2 * palavras;
    }
    return pos == b.size();
}

// Strings in metafiles are in the Windows western code page.
QString TextoAnsi(const QByteArray& bytes);

// Drawing work a picture may cost, in rough nanoseconds of Qt's raster engine: each
// record counts CUSTO_REGISTRO (so at most four million records are played), each shape
// half a unit per pixel of its box within the picture, each polygon or path also the
// crossings of its edges with the rows of pixels (trabalho.h), each character of text its
// glyph's pixels.
inline constexpr qint64 TRABALHO_MAXIMO = 400'000'000;
inline constexpr qint64 CUSTO_REGISTRO = 100;
// What decoding a bitmap of a record costs: its pixels, but no more than its bytes can
// paint (a run-length bitmap up to 128 pixels a byte).
qint64 CustoDoDib(const QByteArray& dib);

class Tocador {
public:
    // Draws the picture's box stretched over `alvo` (from the painter's origin); the
    // painter's device may be smaller, showing only its top-left part.
    Tocador(QPainter& pintor, const Wmf& wmf, QSizeF alvo);
    void Tocar();
    qint64 Trabalho() const { return trabalho_; }

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

    // Each group carries out the records it knows and returns false for the others.
    void Executar(quint16 funcao, const Parametros& p);
    bool ExecutarMapeamento(quint16 funcao, const Parametros& p);
    bool ExecutarEstado(quint16 funcao, const Parametros& p);
    bool ExecutarObjeto(quint16 funcao, const Parametros& p);
    bool ExecutarDesenho(quint16 funcao, const Parametros& p);
    bool ExecutarTextoEImagem(quint16 funcao, const Parametros& p);

    // The price of a draw within the picture: its box (widened by the pen) and anything
    // else it costs. False, and nothing is to be drawn, once the picture's work is spent.
    bool Custear(QRectF caixa, qint64 extra = 0);
    // The price of polygons' edges crossing the rows, or of a line's stroke.
    qint64 CustoDasArestas(const std::vector<QPolygonF>& poligonos, bool fechados) const;
    qreal EspessuraDaCaneta() const;

    // The device context (wmf_estado.cpp).
    void UsarCaneta();
    void UsarPincel();
    QFont FonteAtual() const;
    void AplicarRecorte();
    void Recortar(const Parametros& p, bool excluir);
    void RestaurarContexto(int n);
    void DefinirExtensao(QSizeF& extensao, const Parametros& p);
    void EscalarExtensao(QSizeF& extensao, const Parametros& p);
    void CriarObjeto(Objeto objeto);
    void SelecionarObjeto(int indice);
    void ApagarObjeto(int indice);
    Caneta CanetaDoRegistro(const Parametros& p) const;
    Fonte FonteDoRegistro(const Parametros& p) const;
    Pincel PincelDeDib(const Parametros& p);

    // Drawing (wmf_registros.cpp).
    void Caixa(const Parametros& p, quint16 funcao);
    void LinhaAte(const Parametros& p);
    void RetanguloArredondado(const Parametros& p);
    void Pixel(const Parametros& p);
    void Poligono(const Parametros& p, bool fechado);
    void PoliPoligono(const Parametros& p);
    void Arco(const Parametros& p, quint16 funcao);
    void Texto(QPointF origem, const QByteArray& bytes, const std::vector<qint16>& avancos);
    void TextoSimples(const Parametros& p);
    void TextoEstendido(const Parametros& p);
    void BlocoEsticado(const Parametros& p);
    void Bloco(const Parametros& p);
    void Bitmap(const Parametros& p, int palavraDib, QRect fonte, QRectF destino);
    void Preencher(const Parametros& p, quint32 operacao, QRectF destino);

    QPainter& p_;
    const Wmf& wmf_;
    QSizeF alvo_;
    QPointF escala_;
    QRectF area_;             // the painter's device; empty when only recording
    qint64 trabalho_ = 0;
    qint64 memoriaDeTexturas_ = 0; // the tiles of pattern brushes made so far
    Contexto c_;
    std::vector<Contexto> pilha_;
    std::vector<std::optional<Objeto>> objetos_;
    std::set<size_t> livres_; // freed slots below objetos_.size()
};

} // namespace zelpo::wmf_interno
