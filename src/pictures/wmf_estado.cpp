#include "pictures/wmf_estado.h"

#include "pictures/bmp.h"
#include "pictures/figura.h"
#include "pictures/trabalho.h"

#include <QPaintDevice>
#include <QPen>
#include <QStringDecoder>

namespace zelpo::wmf_interno {

namespace {

constexpr size_t OBJETOS_MAXIMOS = 65535;
constexpr size_t CONTEXTOS_GUARDADOS_MAXIMOS = 1024;
// A clip region of more rectangles than this makes every later draw slow; a record that
// would make one leaves the clip as it was.
constexpr int RETANGULOS_MAXIMOS_RECORTE = 256;
constexpr qreal CUSTO_PIXEL = 0.5;
constexpr qint64 CUSTO_CRUZAMENTO = 10;
constexpr qint64 CUSTO_RETANGULO_RECORTE = 50;
// Pattern brushes are tiles; a larger one is shrunk to this side.
constexpr int LADO_MAXIMO_TEXTURA = 256;
constexpr qint64 MEMORIA_MAXIMA_TEXTURAS = MEMORIA_MAXIMA_FIGURA / 4;
constexpr qint64 CUSTO_PIXEL_DIB = 5;
constexpr qint64 PIXELS_POR_BYTE_RLE = 128;

constexpr int PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5;
constexpr int PS_TIPO = 0x000F, PS_PONTA = 0x0F00, PS_JUNCAO = 0xF000;
constexpr int PS_ENDCAP_SQUARE = 0x0100, PS_ENDCAP_FLAT = 0x0200;
constexpr int PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000;
constexpr int OPAQUE = 2, WINDING = 2;

// A positive font height is the character cell, internal leading included; Qt sizes a
// font by its em, which in common faces is about nine tenths of the cell.
constexpr qreal EM_POR_CELULA = 0.9;
constexpr qreal ALTURA_FONTE_PADRAO = 16; // a height of 0 asks for the default size
constexpr int PESO_NORMAL = 400;

Qt::BrushStyle Hachura(int hachura)
{
    static constexpr Qt::BrushStyle estilos[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return hachura >= 0 && hachura < 6 ? estilos[hachura] : Qt::SolidPattern;
}

} // namespace

qint64 CustoDoDib(const QByteArray& dib)
{
    const bool os2 = LerU32(dib, 0) == TAMANHO_CABECALHO_OS2;
    const qint64 largura = os2 ? LerU16(dib, 4) : qAbs(qint64(LerS32(dib, 4)));
    const qint64 altura = os2 ? LerU16(dib, 6) : qAbs(qint64(LerS32(dib, 8)));
    return CUSTO_PIXEL_DIB * std::min(largura * altura, PIXELS_POR_BYTE_RLE * dib.size());
}

QString TextoAnsi(const QByteArray& bytes)
{
    QStringDecoder decodificador("windows-1252");
    return decodificador.isValid() ? QString(decodificador(bytes)) : QString::fromLatin1(bytes);
}

// Until the records set a window and a viewport, both are the picture's box, so logical
// units are the box's units.
Tocador::Tocador(QPainter& pintor, const Wmf& wmf, QSizeF alvo) : p_(pintor), wmf_(wmf), alvo_(alvo)
{
    escala_ = QPointF(alvo.width() / wmf.quadro.width(), alvo.height() / wmf.quadro.height());
    c_.origemJanela = c_.origemVista = wmf.quadro.topLeft();
    c_.extensaoJanela = c_.extensaoVista = wmf.quadro.size();
    const QPaintDevice* dispositivo = pintor.device();
    if (dispositivo && dispositivo->devType() == QInternal::Image) {
        area_ = QRectF(0, 0, dispositivo->width(), dispositivo->height());
    }
}

// A recording (the pass that finds what a metafile draws) rasterizes nothing: there only
// the records count.
bool Tocador::Custear(QRectF caixa, qint64 extra)
{
    if (!area_.isEmpty()) {
        const qreal margem = EspessuraDaCaneta() / 2;
        const QRectF visivel = caixa.normalized().adjusted(-margem, -margem, margem, margem).intersected(area_);
        trabalho_ += static_cast<qint64>(CUSTO_PIXEL * visivel.width() * visivel.height()) + extra;
    }
    return trabalho_ <= TRABALHO_MAXIMO;
}

// A wide pen is drawn as the outline of its stroke, which has about twice the edges.
qint64 Tocador::CustoDasArestas(const std::vector<QPolygonF>& poligonos, bool fechados) const
{
    if (area_.isEmpty()) {
        return 0;
    }
    ContadorDeArestas arestas(static_cast<int>(area_.height()));
    for (const QPolygonF& p : poligonos) {
        arestas.Acrescentar(p, fechados);
    }
    const qint64 tracos = EspessuraDaCaneta() > 1 ? 2 : 1;
    return CUSTO_CRUZAMENTO * arestas.Cruzamentos() * (fechados ? 1 : tracos);
}

qreal Tocador::EspessuraDaCaneta() const
{
    if ((c_.caneta.estilo & PS_TIPO) == PS_NULL) {
        return 0;
    }
    return std::min(qMax(1.0, c_.caneta.largura * qAbs(EscalaX())), 2 * (area_.width() + area_.height()));
}

bool Tocador::ExecutarMapeamento(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_SETWINDOWORG: c_.origemJanela = p.PontoYX(0); return true;
    case META_SETWINDOWEXT: DefinirExtensao(c_.extensaoJanela, p); return true;
    case META_SETVIEWPORTORG: c_.origemVista = p.PontoYX(0); return true;
    case META_SETVIEWPORTEXT: DefinirExtensao(c_.extensaoVista, p); return true;
    case META_OFFSETWINDOWORG: c_.origemJanela += p.PontoYX(0); return true;
    case META_OFFSETVIEWPORTORG: c_.origemVista += p.PontoYX(0); return true;
    case META_SCALEWINDOWEXT: EscalarExtensao(c_.extensaoJanela, p); return true;
    case META_SCALEVIEWPORTEXT: EscalarExtensao(c_.extensaoVista, p); return true;
    default: return false;
    }
}

bool Tocador::ExecutarEstado(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_SAVEDC:
        if (pilha_.size() < CONTEXTOS_GUARDADOS_MAXIMOS) {
            pilha_.push_back(c_);
        }
        return true;
    case META_RESTOREDC: RestaurarContexto(p.S(0)); return true;
    case META_SETBKMODE: c_.fundoOpaco = p.U(0) == OPAQUE; return true;
    case META_SETBKCOLOR: c_.corFundo = p.Cor(0); return true;
    case META_SETTEXTCOLOR: c_.corTexto = p.Cor(0); return true;
    case META_SETTEXTALIGN: c_.alinhamentoTexto = p.U(0); return true;
    case META_SETPOLYFILLMODE: c_.preenchimento = p.U(0) == WINDING ? Qt::WindingFill : Qt::OddEvenFill; return true;
    case META_INTERSECTCLIPRECT: Recortar(p, false); return true;
    case META_EXCLUDECLIPRECT: Recortar(p, true); return true;
    default: return false;
    }
}

bool Tocador::ExecutarObjeto(quint16 funcao, const Parametros& p)
{
    switch (funcao) {
    case META_CREATEPENINDIRECT: CriarObjeto(CanetaDoRegistro(p)); return true;
    case META_CREATEBRUSHINDIRECT: CriarObjeto(Pincel{p.U(0), p.Cor(1), p.U(3), {}}); return true;
    case META_CREATEFONTINDIRECT: CriarObjeto(FonteDoRegistro(p)); return true;
    case META_DIBCREATEPATTERNBRUSH: CriarObjeto(PincelDeDib(p)); return true;
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEREGION: CriarObjeto(std::monostate{}); return true;
    case META_SELECTOBJECT: SelecionarObjeto(p.U(0)); return true;
    case META_DELETEOBJECT: ApagarObjeto(p.U(0)); return true;
    default: return false;
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

void Tocador::AplicarRecorte()
{
    if (c_.recorte) {
        p_.setClipRegion(*c_.recorte);
    } else {
        p_.setClipping(false);
    }
}

void Tocador::Recortar(const Parametros& p, bool excluir)
{
    const QRect caixa = Retangulo(p, 0).toRect();
    const QRegion atual = c_.recorte.value_or(QRegion(QRect(QPoint(0, 0), alvo_.toSize())));
    if (!Custear({}, atual.rectCount() * CUSTO_RETANGULO_RECORTE)) {
        return;
    }
    const QRegion nova = excluir ? atual.subtracted(caixa) : atual.intersected(caixa);
    if (nova.rectCount() > RETANGULOS_MAXIMOS_RECORTE) {
        return;
    }
    c_.recorte = nova;
    AplicarRecorte();
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

// A new object takes the lowest free slot: later records address it by that number.
void Tocador::CriarObjeto(Objeto objeto)
{
    if (!livres_.empty()) {
        objetos_[*livres_.begin()] = std::move(objeto);
        livres_.erase(livres_.begin());
    } else if (objetos_.size() < OBJETOS_MAXIMOS) {
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

// Only the slot is freed: a pen, brush or font in use stays in the context, since GDI
// refuses to delete a selected object.
void Tocador::ApagarObjeto(int indice)
{
    if (indice >= 0 && size_t(indice) < objetos_.size() && objetos_[indice]) {
        objetos_[indice].reset();
        livres_.insert(size_t(indice));
    }
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
    const QByteArray dib = p.Bytes(4, 2 * p.Palavras());
    if (!Custear({}, CustoDoDib(dib))) {
        return b;
    }
    const ResultadoFigura r = CarregarFiguraDeBytes(ArquivoDeDib(dib), Ajuste{LADO_MAXIMO_TEXTURA, true});
    // Brushes live in the object table until the end: their tiles share the picture's memory.
    if (r.figura && memoriaDeTexturas_ + r.figura->imagem.sizeInBytes() <= MEMORIA_MAXIMA_TEXTURAS) {
        memoriaDeTexturas_ += r.figura->imagem.sizeInBytes();
        b.textura = r.figura->imagem;
    }
    return b;
}

} // namespace zelpo::wmf_interno
