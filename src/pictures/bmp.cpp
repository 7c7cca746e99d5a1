#include "pictures/bmp.h"

#include "records/bytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <vector>

namespace zelpo {

namespace {

constexpr int TAMANHO_MINIMO_CABECALHO_INFO = 16; // OS/2 2.x may cut its header short
constexpr int TAMANHO_CABECALHO_INFO = 40;
constexpr int TAMANHO_CABECALHO_V3 = 56;          // the first with an alpha mask
constexpr int POSICAO_MASCARAS = TAMANHO_CABECALHO_ARQUIVO_BMP + TAMANHO_CABECALHO_INFO;
constexpr int CORES_MAXIMAS = 256;
constexpr int BYTES_MASCARAS_BITFIELDS = 12;
constexpr qint64 TAMANHO_BLOCO = 1 << 16;
constexpr QRgb TRANSPARENTE = 0;

// The escapes of the run-length encodings: a zero count and one of these.
constexpr quint8 ESCAPE_FIM_DE_LINHA = 0;
constexpr quint8 ESCAPE_FIM_DO_BITMAP = 1;
constexpr quint8 ESCAPE_DESLOCAMENTO = 2;

using Paleta = std::array<QRgb, CORES_MAXIMAS>;

bool BitsValidos(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

qint64 InicioDaPaleta(const CabecalhoBmp& c)
{
    const bool mascarasAposCabecalho = c.tamanhoCabecalho == TAMANHO_CABECALHO_INFO && c.compressao == BI_BITFIELDS;
    return TAMANHO_CABECALHO_ARQUIVO_BMP + c.tamanhoCabecalho + (mascarasAposCabecalho ? BYTES_MASCARAS_BITFIELDS : 0);
}

// Indices past the colours the file gives are transparent, as Qt shows them.
Paleta LerPaleta(const QByteArray& inicio, const CabecalhoBmp& c)
{
    Paleta paleta;
    paleta.fill(TRANSPARENTE);
    const qint64 primeira = InicioDaPaleta(c);
    for (int i = 0; i < c.coresNaPaleta; ++i) {
        const qint64 pos = primeira + qint64(i) * c.bytesPorCor;
        if (pos + 3 > c.inicioPixels) {
            break;
        }
        paleta[i] = qRgb(LerU8(inicio, pos + 2), LerU8(inicio, pos + 1), LerU8(inicio, pos));
    }
    return paleta;
}

// One channel of a 16- or 32-bit pixel through its mask. Up to eight bits are scaled by
// a whole factor, as Qt does (five bits times eight); wider channels keep their top bits.
struct Canal {
    quint32 mascara = 0;
    int deslocamento = 0;
    int fator = 0;
    int excesso = 0;

    explicit Canal(quint32 m = 0) : mascara(m)
    {
        if (m == 0)
            return;
        deslocamento = std::countr_zero(m);
        const quint32 maximo = m >> deslocamento;
        const int bits = std::bit_width(maximo);
        fator = bits <= 8 ? static_cast<int>(256 / (qint64(maximo) + 1)) : 1;
        excesso = std::max(0, bits - 8);
    }
    int operator()(quint32 valor) const { return int(((valor & mascara) >> deslocamento) >> excesso) * fator; }
};

// Turns the stored bytes of a row into ARGB32 pixels.
class ConversorBmp {
public:
    ConversorBmp(const CabecalhoBmp& c, const Paleta& paleta) : bits_(c.bitsPorPixel), paleta_(paleta)
    {
        std::array<quint32, 4> m{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
        if (c.compressao == BI_BITFIELDS) {
            std::copy(std::begin(c.mascaras), std::end(c.mascaras), m.begin());
        } else if (bits_ == 16) {
            m = {0x7C00, 0x03E0, 0x001F, 0};
        }
        for (int i = 0; i < 4; ++i)
            canais_[i] = Canal(m[i]);
    }

    void Converter(const uchar* b, QRgb* saida, int n) const
    {
        switch (bits_) {
        case 1:
            for (int x = 0; x < n; ++x)
                saida[x] = paleta_[(b[x / 8] >> (7 - x % 8)) & 1];
            break;
        case 4:
            for (int x = 0; x < n; ++x)
                saida[x] = paleta_[x % 2 == 0 ? b[x / 2] >> 4 : b[x / 2] & 0x0F];
            break;
        case 8:
            for (int x = 0; x < n; ++x)
                saida[x] = paleta_[b[x]];
            break;
        case 24:
            for (int x = 0; x < n; ++x, b += 3)
                saida[x] = qRgb(b[2], b[1], b[0]);
            break;
        default:
            for (int x = 0; x < n; ++x, b += bits_ / 8) {
                const quint32 v = b[0] | (b[1] << 8) | (bits_ == 32 ? (quint32(b[2]) << 16) | (quint32(b[3]) << 24) : 0);
                saida[x] = qRgba(canais_[0](v), canais_[1](v), canais_[2](v), canais_[3].mascara ? canais_[3](v) : 255);
            }
        }
    }

private:
    int bits_;
    const Paleta& paleta_;
    std::array<Canal, 4> canais_;
};

// The rows a receptor needs start at the top.
int LinhasNecessarias(const ReceptorDeLinhas& receptor, int altura)
{
    int n = 0;
    while (n < altura && receptor.PrecisaDaLinha(n))
        ++n;
    return n;
}

// Rows are read in the order the file stores them, bottom first unless the height was
// negative, and only those the receptor keeps; a crop reads only its columns.
const char* LerSemCompressao(QIODevice& d, const CabecalhoBmp& c, const Paleta& paleta, ReceptorDeLinhas& receptor)
{
    const int colunas = std::min(c.largura, receptor.Colunas());
    const qint64 porLinha = c.BytesPorLinha();
    const qint64 uteis = std::min(porLinha, (qint64(colunas) * c.bitsPorPixel + 7) / 8);
    const int linhas = LinhasNecessarias(receptor, c.altura);
    const int primeira = c.deCimaParaBaixo ? 0 : c.altura - linhas;
    std::vector<uchar> dados(static_cast<size_t>(uteis) + 4); // room for the 32-bit read of a last pixel
    std::vector<QRgb> pixels(static_cast<size_t>(std::max(colunas, 1)));
    const ConversorBmp conversor(c, paleta);
    for (int i = primeira; i < primeira + linhas; ++i) {
        const qint64 pos = c.inicioPixels + qint64(i) * porLinha;
        if (d.pos() != pos && !d.seek(pos))
            return ERRO_LEITURA;
        if (d.read(reinterpret_cast<char*>(dados.data()), uteis) != uteis)
            return ERRO_CORROMPIDO;
        conversor.Converter(dados.data(), pixels.data(), colunas);
        receptor.Receber(c.deCimaParaBaixo ? i : c.altura - 1 - i, pixels.data(), 0, colunas);
    }
    return nullptr;
}

// The pixel data read through a block at a time, a byte or a few at a time.
class Leitor {
public:
    Leitor(QIODevice& d) : d_(d), bloco_(TAMANHO_BLOCO) {}
    int Byte()
    {
        if (pos_ == fim_ && !Encher())
            return -1;
        return bloco_[pos_++];
    }
    bool Ler(uchar* destino, int n)
    {
        for (int i = 0; i < n; ++i) {
            const int b = Byte();
            if (b < 0)
                return false;
            destino[i] = static_cast<uchar>(b);
        }
        return true;
    }

private:
    bool Encher()
    {
        fim_ = std::max<qint64>(0, d_.read(reinterpret_cast<char*>(bloco_.data()), TAMANHO_BLOCO));
        pos_ = 0;
        return fim_ > 0;
    }
    QIODevice& d_;
    std::vector<uchar> bloco_;
    qint64 pos_ = 0, fim_ = 0;
};

// Gathers the pixels of a run-length bitmap one stored row at a time, rows counted from
// the first one stored, and hands each row that got any pixel to the receptor when the
// codes leave it. Only the columns the receptor needs are kept.
class LinhaRle {
public:
    LinhaRle(const CabecalhoBmp& c, const Paleta& paleta, ReceptorDeLinhas& receptor)
        : cab_(c), paleta_(paleta), receptor_(receptor), colunas_(std::min(c.largura, receptor.Colunas())),
          pixels_(static_cast<size_t>(std::max(colunas_, 1)), TRANSPARENTE)
    {
    }

    void Pintar(int indice)
    {
        if (x_ < colunas_ && y_ < cab_.altura) {
            pixels_[x_] = paleta_[indice & 0xFF];
            x0_ = std::min(x0_, x_);
            x1_ = std::max(x1_, x_ + 1);
        }
        x_ = std::min(x_ + 1, cab_.largura);
    }
    void FimDeLinha()
    {
        Entregar();
        x_ = 0;
        y_ = std::min(y_ + 1, cab_.altura);
    }
    void Deslocar(int dx, int dy)
    {
        if (dy > 0)
            Entregar();
        x_ = std::min(x_ + dx, cab_.largura);
        y_ = std::min(y_ + dy, cab_.altura);
    }
    void Entregar()
    {
        if (x0_ >= x1_)
            return;
        const int y = cab_.deCimaParaBaixo ? y_ : cab_.altura - 1 - y_;
        if (receptor_.PrecisaDaLinha(y))
            receptor_.Receber(y, pixels_.data(), x0_, x1_);
        std::fill(pixels_.begin() + x0_, pixels_.begin() + x1_, TRANSPARENTE);
        x0_ = colunas_;
        x1_ = 0;
    }
    bool Terminou() const { return y_ >= cab_.altura; }
    // Encoders that drop the end-of-bitmap escape still reach the last row.
    bool ChegouAUltimaLinha() const { return y_ >= cab_.altura - 1; }

private:
    const CabecalhoBmp& cab_;
    const Paleta& paleta_;
    ReceptorDeLinhas& receptor_;
    int colunas_;
    std::vector<QRgb> pixels_;
    int x_ = 0, y_ = 0;
    int x0_ = colunas_, x1_ = 0; // the painted span of the row
};

int IndiceDaSequencia(int byte, int i, bool rle4)
{
    if (!rle4) {
        return byte;
    }
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

const char* LerRle(QIODevice& d, const CabecalhoBmp& c, const Paleta& paleta, ReceptorDeLinhas& receptor)
{
    if (!d.seek(c.inicioPixels))
        return ERRO_LEITURA;
    const bool rle4 = c.compressao == BI_RLE4;
    Leitor leitor(d);
    LinhaRle linha(c, paleta, receptor);
    std::array<uchar, 256> absoluto;
    // A few bytes paint hundreds of pixels, each of which costs its painting and its
    // share of the receptor's work, wherever it falls.
    qint64 pintados = 0;
    while (!linha.Terminou()) {
        if (pintados > PIXELS_MAXIMOS_FIGURA)
            return ERRO_GRANDE;
        const int contagem = leitor.Byte();
        const int valor = contagem < 0 ? -1 : leitor.Byte();
        if (valor < 0) {
            if (linha.ChegouAUltimaLinha())
                break;
            return ERRO_CORROMPIDO;
        }
        pintados += contagem > 0 ? contagem : 1;
        if (contagem > 0) {
            for (int i = 0; i < contagem; ++i)
                linha.Pintar(IndiceDaSequencia(valor, i, rle4));
        } else if (valor == ESCAPE_FIM_DE_LINHA) {
            linha.FimDeLinha();
        } else if (valor == ESCAPE_FIM_DO_BITMAP) {
            break;
        } else if (valor == ESCAPE_DESLOCAMENTO) {
            const int dx = leitor.Byte(), dy = leitor.Byte();
            linha.Deslocar(std::max(dx, 0), std::max(dy, 0));
        } else {
            // An absolute run of `valor` pixels, padded to a whole 16-bit word.
            const int bytesDaSequencia = rle4 ? (valor + 1) / 2 : valor;
            if (!leitor.Ler(absoluto.data(), bytesDaSequencia))
                return ERRO_CORROMPIDO;
            if (bytesDaSequencia & 1)
                leitor.Byte();
            pintados += valor;
            for (int i = 0; i < valor; ++i)
                linha.Pintar(IndiceDaSequencia(absoluto[rle4 ? i / 2 : i], i, rle4));
        }
    }
    linha.Entregar();
    return nullptr;
}

} // namespace

std::optional<CabecalhoBmp> LerCabecalhoBmp(const QByteArray& bytes)
{
    constexpr int POS_CABECALHO = TAMANHO_CABECALHO_ARQUIVO_BMP;
    if (bytes.size() < POS_CABECALHO + TAMANHO_CABECALHO_OS2 || !bytes.startsWith("BM")) {
        return std::nullopt;
    }
    CabecalhoBmp c;
    c.tamanhoCabecalho = LerU32(bytes, POS_CABECALHO);
    c.inicioPixels = LerU32(bytes, 10);
    quint32 coresUsadas = 0;
    if (c.tamanhoCabecalho == TAMANHO_CABECALHO_OS2) {
        c.largura = LerU16(bytes, POS_CABECALHO + 4);
        c.altura = LerU16(bytes, POS_CABECALHO + 6);
        c.bitsPorPixel = LerU16(bytes, POS_CABECALHO + 10);
        c.bytesPorCor = 3;
    } else if (c.tamanhoCabecalho >= TAMANHO_MINIMO_CABECALHO_INFO
               && bytes.size() >= POS_CABECALHO + TAMANHO_MINIMO_CABECALHO_INFO) {
        c.largura = LerS32(bytes, POS_CABECALHO + 4);
        const qint64 altura = LerS32(bytes, POS_CABECALHO + 8);
        c.deCimaParaBaixo = altura < 0;
        c.altura = static_cast<int>(std::min<qint64>(altura < 0 ? -altura : altura, INT32_MAX));
        c.bitsPorPixel = LerU16(bytes, POS_CABECALHO + 14);
        if (c.tamanhoCabecalho >= 20) {
            c.compressao = LerU32(bytes, POS_CABECALHO + 16);
        }
        if (c.tamanhoCabecalho >= 36) {
            coresUsadas = LerU32(bytes, POS_CABECALHO + 32);
        }
        if (c.tamanhoCabecalho >= TAMANHO_CABECALHO_INFO) {
            for (int i = 0; i < 3; ++i)
                c.mascaras[i] = LerU32(bytes, POSICAO_MASCARAS + 4 * i);
            if (c.tamanhoCabecalho >= TAMANHO_CABECALHO_V3)
                c.mascaras[3] = LerU32(bytes, POSICAO_MASCARAS + 12);
        }
    } else {
        return std::nullopt;
    }
    if (c.bitsPorPixel <= 8) {
        c.coresNaPaleta = coresUsadas != 0 ? static_cast<int>(std::min<quint32>(coresUsadas, CORES_MAXIMAS))
                                           : 1 << c.bitsPorPixel;
    }
    return c;
}

const char* ProblemaDoBmp(const QByteArray& inicio, qint64 tamanho)
{
    const auto c = LerCabecalhoBmp(inicio);
    if (!c || c->largura <= 0 || c->altura <= 0 || !BitsValidos(c->bitsPorPixel)) {
        return ERRO_CORROMPIDO;
    }
    const bool rleCoerente = (c->compressao == BI_RLE8 && c->bitsPorPixel == 8)
        || (c->compressao == BI_RLE4 && c->bitsPorPixel == 4);
    const bool camposCoerentes = c->compressao == BI_BITFIELDS
        ? (c->bitsPorPixel == 16 || c->bitsPorPixel == 32) && c->tamanhoCabecalho >= TAMANHO_CABECALHO_INFO
        : c->compressao == BI_RGB;
    if (!rleCoerente && !camposCoerentes) {
        return ERRO_CORROMPIDO;
    }
    if (c->inicioPixels < InicioDaPaleta(*c) || c->inicioPixels >= tamanho) {
        return ERRO_CORROMPIDO;
    }
    if (!c->Rle() && c->inicioPixels + c->BytesPorLinha() * c->altura > tamanho) {
        return ERRO_CORROMPIDO;
    }
    // A run-length bitmap may declare any size in a few bytes; its rows are built one at
    // a time, but a row must fit in memory.
    if (c->largura > LADO_MAXIMO_FIGURA || c->altura > LADO_MAXIMO_FIGURA) {
        return ERRO_GRANDE;
    }
    return nullptr;
}

ResultadoFigura DecodificarBmp(QIODevice& dispositivo, const Ajuste& ajuste)
{
    if (!dispositivo.seek(0))
        return FalhaDeFigura(ERRO_LEITURA);
    const QByteArray inicio = dispositivo.read(TAMANHO_MAXIMO_CABECALHOS_BMP);
    if (const char* problema = ProblemaDoBmp(inicio, dispositivo.size())) {
        return FalhaDeFigura(problema);
    }
    const CabecalhoBmp c = *LerCabecalhoBmp(inicio);
    const Paleta paleta = LerPaleta(inicio, c);
    const QSize natural(c.largura, c.altura);
    const std::unique_ptr<ReceptorDeLinhas> receptor = NovoReceptor(natural, ajuste);
    if (!receptor)
        return FalhaDeFigura(ERRO_GRANDE);
    const qint64 pixelsLidos = qint64(LinhasNecessarias(*receptor, c.altura)) * std::min(c.largura, receptor->Colunas());
    if (!c.Rle() && pixelsLidos > PIXELS_MAXIMOS_FIGURA)
        return FalhaDeFigura(ERRO_GRANDE);
    const char* problema = c.Rle() ? LerRle(dispositivo, c, paleta, *receptor)
                                   : LerSemCompressao(dispositivo, c, paleta, *receptor);
    if (problema)
        return FalhaDeFigura(problema);
    QImage imagem = receptor->Resultado();
    if (imagem.isNull())
        return FalhaDeFigura(ERRO_GRANDE);
    return {Figura{std::move(imagem), natural, false}, {}};
}

QByteArray ArquivoDeDib(const QByteArray& dib)
{
    const quint32 tamanhoCabecalho = LerU32(dib, 0);
    int bits = 0;
    quint32 compressao = BI_RGB;
    qint64 cores = 0;
    int bytesPorCor = 4;
    if (tamanhoCabecalho == TAMANHO_CABECALHO_OS2) {
        bits = LerU16(dib, 10);
        bytesPorCor = 3;
    } else {
        bits = LerU16(dib, 14);
        compressao = LerU32(dib, 16);
        cores = tamanhoCabecalho >= 36 ? LerU32(dib, 32) : 0;
    }
    if (cores == 0 && bits <= 8) {
        cores = qint64(1) << bits;
    }
    qint64 inicio = TAMANHO_CABECALHO_ARQUIVO_BMP + qint64(tamanhoCabecalho) + cores * bytesPorCor;
    if (tamanhoCabecalho == TAMANHO_CABECALHO_INFO && compressao == BI_BITFIELDS) {
        inicio += BYTES_MASCARAS_BITFIELDS;
    }
    inicio = std::min<qint64>(inicio, UINT32_MAX);

    QByteArray arquivo("BM");
    const auto acrescentarU32 = [&arquivo](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            arquivo.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    acrescentarU32(static_cast<quint32>(std::min<qint64>(TAMANHO_CABECALHO_ARQUIVO_BMP + dib.size(), UINT32_MAX)));
    acrescentarU32(0);
    acrescentarU32(static_cast<quint32>(inicio));
    arquivo.append(dib);
    return arquivo;
}

} // namespace zelpo
