#include "pieces/bmp.h"

#include "pieces/bytes.h"

#include <QImage>

#include <algorithm>
#include <array>

namespace zelpo {

namespace {

constexpr int TAMANHO_CABECALHO_OS2 = 12;
constexpr int TAMANHO_MINIMO_CABECALHO_INFO = 16; // OS/2 2.x may cut its header short
constexpr int TAMANHO_CABECALHO_INFO = 40;
constexpr int CORES_MAXIMAS = 256;
constexpr int BYTES_MASCARAS_BITFIELDS = 12;
constexpr QRgb TRANSPARENTE = 0;

// The escapes of the run-length encodings: a zero count and one of these.
constexpr quint8 ESCAPE_FIM_DE_LINHA = 0;
constexpr quint8 ESCAPE_FIM_DO_BITMAP = 1;
constexpr quint8 ESCAPE_DESLOCAMENTO = 2;

bool BitsValidos(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::array<QRgb, CORES_MAXIMAS> LerPaleta(const QByteArray& bytes, const CabecalhoBmp& c)
{
    std::array<QRgb, CORES_MAXIMAS> paleta;
    paleta.fill(qRgb(0, 0, 0));
    const qint64 inicio = TAMANHO_CABECALHO_ARQUIVO_BMP + c.tamanhoCabecalho;
    for (int i = 0; i < std::min(c.coresNaPaleta, CORES_MAXIMAS); ++i) {
        const qint64 pos = inicio + qint64(i) * c.bytesPorCor;
        if (pos + 3 > c.inicioPixels) {
            break;
        }
        paleta[i] = qRgb(LerU8(bytes, pos + 2), LerU8(bytes, pos + 1), LerU8(bytes, pos));
    }
    return paleta;
}

// Writes the pixels of a run-length bitmap row by row as the codes arrive; rows count
// from the first one stored, which is the bottom one unless the height was negative.
class PintorRle {
public:
    PintorRle(QImage& imagem, const CabecalhoBmp& c, const std::array<QRgb, CORES_MAXIMAS>& paleta)
        : imagem_(imagem), cab_(c), paleta_(paleta)
    {
    }

    void Pintar(int indice)
    {
        if (x_ < cab_.largura && y_ < cab_.altura) {
            const int linha = cab_.deCimaParaBaixo ? y_ : cab_.altura - 1 - y_;
            reinterpret_cast<QRgb*>(imagem_.scanLine(linha))[x_] = paleta_[indice & 0xFF];
        }
        x_ = std::min(x_ + 1, cab_.largura);
    }
    void FimDeLinha()
    {
        x_ = 0;
        y_ = std::min(y_ + 1, cab_.altura);
    }
    void Deslocar(int dx, int dy)
    {
        x_ = std::min(x_ + dx, cab_.largura);
        y_ = std::min(y_ + dy, cab_.altura);
    }
    bool Terminou() const { return y_ >= cab_.altura; }
    // Encoders that drop the end-of-bitmap escape still reach the last row.
    bool ChegouAUltimaLinha() const { return y_ >= cab_.altura - 1; }

private:
    QImage& imagem_;
    const CabecalhoBmp& cab_;
    const std::array<QRgb, CORES_MAXIMAS>& paleta_;
    int x_ = 0;
    int y_ = 0;
};

int IndiceDaSequencia(quint8 byte, int i, bool rle4)
{
    if (!rle4) {
        return byte;
    }
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
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
    } else {
        return std::nullopt;
    }
    if (c.bitsPorPixel <= 8) {
        c.coresNaPaleta = coresUsadas != 0 ? static_cast<int>(std::min<quint32>(coresUsadas, CORES_MAXIMAS))
                                           : 1 << c.bitsPorPixel;
    }
    return c;
}

const char* ProblemaDoBmp(const QByteArray& bytes)
{
    const auto c = LerCabecalhoBmp(bytes);
    if (!c || c->largura <= 0 || c->altura <= 0 || !BitsValidos(c->bitsPorPixel)) {
        return ERRO_CORROMPIDO;
    }
    if (!TamanhoAceitavel(QSize(c->largura, c->altura))) {
        return ERRO_GRANDE;
    }
    if ((c->compressao == BI_RLE8 && c->bitsPorPixel != 8) || (c->compressao == BI_RLE4 && c->bitsPorPixel != 4)) {
        return ERRO_CORROMPIDO;
    }
    if (c->inicioPixels < TAMANHO_CABECALHO_ARQUIVO_BMP + c->tamanhoCabecalho || c->inicioPixels >= quint64(bytes.size())) {
        return ERRO_CORROMPIDO;
    }
    if (c->compressao == BI_RGB || c->compressao == BI_BITFIELDS) {
        const qint64 bytesPorLinha = (qint64(c->largura) * c->bitsPorPixel + 31) / 32 * 4;
        if (c->inicioPixels + bytesPorLinha * c->altura > bytes.size()) {
            return ERRO_CORROMPIDO;
        }
    }
    return nullptr;
}

bool EhBmpRle(const QByteArray& bytes)
{
    const auto c = LerCabecalhoBmp(bytes);
    return c && c->tamanhoCabecalho != TAMANHO_CABECALHO_OS2
        && (c->compressao == BI_RLE8 || c->compressao == BI_RLE4);
}

ResultadoFigura DecodificarBmpRle(const QByteArray& bytes)
{
    if (const char* problema = ProblemaDoBmp(bytes)) {
        return FalhaDeFigura(problema);
    }
    const CabecalhoBmp c = *LerCabecalhoBmp(bytes);
    const bool rle4 = c.compressao == BI_RLE4;
    const auto paleta = LerPaleta(bytes, c);
    QImage imagem(c.largura, c.altura, QImage::Format_ARGB32);
    if (imagem.isNull()) {
        return FalhaDeFigura(ERRO_GRANDE);
    }
    imagem.fill(TRANSPARENTE);
    PintorRle pintor(imagem, c, paleta);

    const qint64 fim = bytes.size();
    qint64 pos = c.inicioPixels;
    while (!pintor.Terminou()) {
        if (pos + 2 > fim) {
            if (pintor.ChegouAUltimaLinha()) {
                break;
            }
            return FalhaDeFigura(ERRO_CORROMPIDO);
        }
        const quint8 contagem = LerU8(bytes, pos);
        const quint8 valor = LerU8(bytes, pos + 1);
        pos += 2;
        if (contagem > 0) {
            for (int i = 0; i < contagem; ++i) {
                pintor.Pintar(IndiceDaSequencia(valor, i, rle4));
            }
        } else if (valor == ESCAPE_FIM_DE_LINHA) {
            pintor.FimDeLinha();
        } else if (valor == ESCAPE_FIM_DO_BITMAP) {
            break;
        } else if (valor == ESCAPE_DESLOCAMENTO) {
            pintor.Deslocar(LerU8(bytes, pos), LerU8(bytes, pos + 1));
            pos += 2;
        } else {
            // An absolute run of `valor` pixels, padded to a whole 16-bit word.
            const int bytesDaSequencia = rle4 ? (valor + 1) / 2 : valor;
            if (pos + bytesDaSequencia > fim) {
                return FalhaDeFigura(ERRO_CORROMPIDO);
            }
            for (int i = 0; i < valor; ++i) {
                pintor.Pintar(IndiceDaSequencia(LerU8(bytes, pos + (rle4 ? i / 2 : i)), i, rle4));
            }
            pos += bytesDaSequencia + (bytesDaSequencia & 1);
        }
    }
    return {Figura{imagem, false, {}}, {}};
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
