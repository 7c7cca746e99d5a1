#include "pictures/wmf.h"

#include "records/bytes.h"
#include "pictures/wmf_estado.h"

#include <QPainter>
#include <QPicture>

#include <optional>

namespace zelpo {

namespace {

using wmf_interno::META_SETWINDOWEXT;
using wmf_interno::META_SETWINDOWORG;
using wmf_interno::Parametros;
using wmf_interno::PercorrerRegistros;
using wmf_interno::Tocador;
using wmf_interno::Wmf;

constexpr int TAMANHO_CABECALHO_POSICIONAVEL = 22;
constexpr int TAMANHO_CABECALHO_WMF = 18;
constexpr quint16 VERSAO_WMF_ANTIGA = 0x0100;
constexpr quint16 VERSAO_WMF = 0x0300;

// GDI never smooths metafile shapes; smoothing shows the background through the seams
// between the neighbouring polygons that clip art is made of.
constexpr bool SUAVIZAR = false;

bool CabecalhoValido(const QByteArray& b, qint64 h)
{
    const quint16 tipo = LerU16(b, h);
    const quint16 versao = LerU16(b, h + 4);
    return b.size() >= h + TAMANHO_CABECALHO_WMF && (tipo == 1 || tipo == 2) && LerU16(b, h + 2) == 9
        && (versao == VERSAO_WMF || versao == VERSAO_WMF_ANTIGA);
}

// The picture's box stretched over `alvo`, of which the image keeps the top-left part.
QImage DesenharWmf(const Wmf& wmf, QSize imagem, QSize alvo)
{
    QImage desenho(imagem, QImage::Format_ARGB32_Premultiplied);
    if (desenho.isNull()) {
        return {};
    }
    desenho.fill(Qt::transparent);
    QPainter pintor(&desenho);
    pintor.setRenderHint(QPainter::Antialiasing, SUAVIZAR);
    Tocador(pintor, wmf, alvo).Tocar();
    pintor.end();
    return desenho.convertToFormat(QImage::Format_ARGB32);
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
        wmf.natural = desenho.size().toSize().expandedTo(QSize(1, 1));
    }
    return nullptr;
}

} // namespace

bool PareceWmf(const QByteArray& bytes)
{
    if (LerU32(bytes, 0) == CHAVE_WMF_POSICIONAVEL) {
        return bytes.size() >= TAMANHO_CABECALHO_POSICIONAVEL;
    }
    return CabecalhoValido(bytes, 0);
}

// Played at the size the board keeps: shrunk, the whole box stretched over the smaller
// picture; cropped, at its natural scale with only the top-left part kept.
ResultadoFigura DecodificarWmf(const QByteArray& bytes, const Ajuste& ajuste)
{
    Wmf wmf;
    wmf.bytes = bytes;
    if (const char* problema = AnalisarWmf(wmf)) {
        return FalhaDeFigura(problema);
    }
    const QSize imagem = TamanhoAjustado(wmf.natural, ajuste);
    QImage desenho = DesenharWmf(wmf, imagem, ajuste.reduzir ? imagem : wmf.natural);
    if (desenho.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    return {Figura{std::move(desenho), wmf.natural, true}, {}};
}

} // namespace zelpo
