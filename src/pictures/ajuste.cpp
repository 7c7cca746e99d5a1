#include "pictures/ajuste.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zelpo {

namespace {

// The weights of the source pixels that make one destination pixel add up to this, in
// Qt's area-averaging scaler as here.
constexpr int UM = 1 << 14;
// From this many pixels up, QImage::scaled shrinks by area averaging even by less than
// half; below it, a mild shrink is painted with bilinear filtering.
constexpr qint64 PIXELS_DA_MEDIA_DE_AREA = 1 << 20;

bool ShrinkPorMediaDeArea(QSize origem, QSize destino)
{
    return qint64(origem.width()) * origem.height() >= PIXELS_DA_MEDIA_DE_AREA
        || 2 * destino.width() < origem.width() || 2 * destino.height() < origem.height();
}

// The source pixels under one destination pixel along one axis: the first, partly
// covered; `meio` whole ones; and a last one, partly covered. An axis that keeps its
// length maps each pixel onto itself with the whole weight.
struct Pegada {
    int primeiro = 0;
    int pesoPrimeiro = UM;
    int meio = 0;
    int pesoUltimo = 0; // 0: no last pixel
    int Ultimo() const { return primeiro + meio + (pesoUltimo > 0 ? 1 : 0); }
    int Peso(int i, int pesoMeio) const
    {
        return i == primeiro ? pesoPrimeiro : (pesoUltimo > 0 && i == Ultimo() ? pesoUltimo : pesoMeio);
    }
};

// Qt's own stepping (qimagescale.cpp): a 16.16 fixed-point position advanced by
// origem / destino per destination pixel, and the weight of a whole source pixel
// rounded up, so that the last pixel takes whatever weight is left.
std::vector<Pegada> Pegadas(int origem, int destino, int& pesoMeio)
{
    std::vector<Pegada> pegadas(destino);
    if (destino >= origem) {
        for (int i = 0; i < destino; ++i)
            pegadas[i].primeiro = i;
        pesoMeio = 0;
        return pegadas;
    }
    const qint64 passo = (qint64(origem) << 16) / destino;
    pesoMeio = static_cast<int>(((qint64(destino) << 14) + origem - 1) / origem);
    qint64 posicao = 0;
    for (Pegada& p : pegadas) {
        p.primeiro = static_cast<int>(posicao >> 16);
        p.pesoPrimeiro = static_cast<int>(((0x10000 - (posicao & 0xffff)) * pesoMeio) >> 16);
        const int resto = UM - p.pesoPrimeiro;
        p.meio = (resto - 1) / pesoMeio;
        p.pesoUltimo = resto - p.meio * pesoMeio;
        // never past the edge, should the rounding ever reach it
        p.meio = std::max(0, std::min(p.meio, origem - 2 - p.primeiro));
        posicao += passo;
    }
    return pegadas;
}

// The first destination pixel whose footprint reaches index i.
int PrimeiraPegadaQueAlcanca(const std::vector<Pegada>& pegadas, int i)
{
    const auto p = std::partition_point(pegadas.begin(), pegadas.end(),
                                        [i](const Pegada& g) { return g.Ultimo() < i; });
    return static_cast<int>(p - pegadas.begin());
}

// Folds each row into the shrunk picture as it arrives: the row is first reduced across
// (each destination column's weighted sum of premultiplied pixels), then added, shifted
// and weighted, to the one or two destination rows it lies under. The arithmetic is
// Qt's, step for step, so the sums and the truncations come out the same in any order
// of rows.
class ReceptorReduzido final : public ReceptorDeLinhas {
public:
    ReceptorReduzido(QSize origem, QSize destino)
        : origem_(origem), destino_(destino), somas_(size_t(destino.width()) * destino.height() * 4, 0),
          cruzada_(size_t(destino.width()) * 4, 0)
    {
        colunas_ = Pegadas(origem.width(), destino.width(), pesoMeioX_);
        linhas_ = Pegadas(origem.height(), destino.height(), pesoMeioY_);
    }

    bool PrecisaDaLinha(int y) const override { return y >= 0 && y < origem_.height(); }
    int Colunas() const override { return origem_.width(); }

    void Receber(int y, const QRgb* linha, int x0, int x1) override
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, origem_.width());
        if (!PrecisaDaLinha(y) || x0 >= x1)
            return;
        const int primeira = PrimeiraPegadaQueAlcanca(colunas_, x0);
        int ultima = primeira;
        while (ultima < destino_.width() && colunas_[ultima].primeiro < x1)
            ++ultima;
        ReduzirAtravessado(linha, x0, x1, primeira, ultima);
        for (int d = PrimeiraPegadaQueAlcanca(linhas_, y); d < destino_.height() && linhas_[d].primeiro <= y; ++d) {
            const uint32_t peso = static_cast<uint32_t>(linhas_[d].Peso(y, pesoMeioY_));
            uint32_t* soma = &somas_[(size_t(d) * destino_.width() + primeira) * 4];
            for (const uint32_t* c = &cruzada_[size_t(primeira) * 4]; c < &cruzada_[size_t(ultima) * 4]; ++c, ++soma)
                *soma += (*c >> 4) * peso;
        }
    }

    QImage Resultado() override
    {
        QImage imagem(destino_, QImage::Format_ARGB32_Premultiplied);
        if (imagem.isNull())
            return {};
        const uint32_t* soma = somas_.data();
        for (int y = 0; y < destino_.height(); ++y) {
            QRgb* saida = reinterpret_cast<QRgb*>(imagem.scanLine(y));
            for (int x = 0; x < destino_.width(); ++x, soma += 4)
                saida[x] = qRgba(soma[0] >> 24, soma[1] >> 24, soma[2] >> 24, soma[3] >> 24);
        }
        return imagem.convertToFormat(QImage::Format_ARGB32);
    }

private:
    // The whole pixels in the middle all weigh the same, so they are summed first and
    // weighted once: the same integer as weighting each.
    void ReduzirAtravessado(const QRgb* linha, int x0, int x1, int primeira, int ultima)
    {
        const auto somar = [](uint32_t* soma, QRgb c, uint32_t peso) {
            if (qAlpha(c) != 255)
                c = qPremultiply(c);
            soma[0] += uint32_t(qRed(c)) * peso;
            soma[1] += uint32_t(qGreen(c)) * peso;
            soma[2] += uint32_t(qBlue(c)) * peso;
            soma[3] += uint32_t(qAlpha(c)) * peso;
        };
        for (int d = primeira; d < ultima; ++d) {
            const Pegada& p = colunas_[d];
            uint32_t soma[4] = {0, 0, 0, 0}, meio[4] = {0, 0, 0, 0};
            if (p.primeiro >= x0)
                somar(soma, linha[p.primeiro], static_cast<uint32_t>(p.pesoPrimeiro));
            const int fimDoMeio = std::min(p.primeiro + p.meio + 1, x1);
            for (int i = std::max(p.primeiro + 1, x0); i < fimDoMeio; ++i)
                somar(meio, linha[i], 1);
            if (p.pesoUltimo > 0 && p.Ultimo() < x1 && p.Ultimo() >= x0)
                somar(soma, linha[p.Ultimo()], static_cast<uint32_t>(p.pesoUltimo));
            for (int c = 0; c < 4; ++c)
                cruzada_[size_t(d) * 4 + c] = soma[c] + meio[c] * static_cast<uint32_t>(pesoMeioX_);
        }
    }

    QSize origem_, destino_;
    std::vector<Pegada> colunas_, linhas_;
    int pesoMeioX_ = 0, pesoMeioY_ = 0;
    std::vector<uint32_t> somas_;   // destination pixels, four channels each
    std::vector<uint32_t> cruzada_; // the current row reduced across
};

// Keeps the top-left part of the picture.
class ReceptorRecortado final : public ReceptorDeLinhas {
public:
    explicit ReceptorRecortado(QSize tamanho) : imagem_(tamanho, QImage::Format_ARGB32)
    {
        imagem_.fill(Qt::transparent);
    }
    bool Valido() const { return !imagem_.isNull(); }
    bool PrecisaDaLinha(int y) const override { return y >= 0 && y < imagem_.height(); }
    int Colunas() const override { return imagem_.width(); }
    void Receber(int y, const QRgb* linha, int x0, int x1) override
    {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, imagem_.width());
        if (PrecisaDaLinha(y) && x0 < x1)
            std::copy(linha + x0, linha + x1, reinterpret_cast<QRgb*>(imagem_.scanLine(y)) + x0);
    }
    QImage Resultado() override { return std::move(imagem_); }

private:
    QImage imagem_;
};

// Small pictures arrive whole and are fitted as the cut always fitted them.
class ReceptorInteiro final : public ReceptorDeLinhas {
public:
    ReceptorInteiro(QSize natural, const Ajuste& ajuste) : recorte_(natural), ajuste_(ajuste) {}
    bool Valido() const { return recorte_.Valido(); }
    bool PrecisaDaLinha(int y) const override { return recorte_.PrecisaDaLinha(y); }
    int Colunas() const override { return recorte_.Colunas(); }
    void Receber(int y, const QRgb* linha, int x0, int x1) override { recorte_.Receber(y, linha, x0, x1); }
    QImage Resultado() override { return AjustarImagem(recorte_.Resultado(), ajuste_); }

private:
    ReceptorRecortado recorte_;
    Ajuste ajuste_;
};

} // namespace

QSize TamanhoAjustado(QSize natural, const Ajuste& ajuste)
{
    const int s = ajuste.lado;
    if (!ajuste.reduzir)
        return QSize(std::min(natural.width(), s), std::min(natural.height(), s));
    if (natural.width() <= s && natural.height() <= s)
        return natural;
    const double w = natural.width(), h = natural.height();
    const double razao = w > h ? w / s : h / s;
    // truncation, not rounding: 382 x 100 at S = 378 comes out one pixel short, 377 x 98
    return QSize(std::max(1, static_cast<int>(w / razao)), std::max(1, static_cast<int>(h / razao)));
}

QImage AjustarImagem(const QImage& figura, const Ajuste& ajuste)
{
    const QSize tamanho = TamanhoAjustado(figura.size(), ajuste);
    if (tamanho == figura.size())
        return figura;
    if (!ajuste.reduzir)
        return figura.copy(0, 0, tamanho.width(), tamanho.height());
    return figura.scaled(tamanho, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::unique_ptr<ReceptorDeLinhas> NovoReceptor(QSize natural, const Ajuste& ajuste)
{
    if (natural.width() <= 0 || natural.height() <= 0 || ajuste.lado <= 0)
        return nullptr;
    const QSize destino = TamanhoAjustado(natural, ajuste);
    if (destino != natural && ajuste.reduzir && ShrinkPorMediaDeArea(natural, destino))
        return std::make_unique<ReceptorReduzido>(natural, destino);
    if (!ajuste.reduzir || destino == natural) {
        auto recorte = std::make_unique<ReceptorRecortado>(destino);
        return recorte->Valido() ? std::move(recorte) : nullptr;
    }
    auto inteiro = std::make_unique<ReceptorInteiro>(natural, ajuste);
    return inteiro->Valido() ? std::move(inteiro) : nullptr;
}

std::unique_ptr<ReceptorDeLinhas> NovoReceptorReduzido(QSize origem, QSize destino)
{
    if (origem.isEmpty() || destino.isEmpty())
        return nullptr;
    return std::make_unique<ReceptorReduzido>(origem, destino.boundedTo(origem));
}

} // namespace zelpo
