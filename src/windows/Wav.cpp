#include "Wav.h"

#include "records/bytes.h"

#include <cstring>
#include <string_view>

namespace zelpo {

namespace {

constexpr int CABECALHO_RIFF = 12;  // "RIFF", length, "WAVE"
constexpr int CABECALHO_BLOCO = 8;  // four-letter name, length
constexpr int TAMANHO_FMT_PCM = 16; // format, channels, rate, bytes/s, block, bits
constexpr uint16_t FORMATO_PCM = 1;
constexpr int MAX_CANAIS = 2;

bool Nome(const char* p, std::string_view nome)
{
    return std::memcmp(p, nome.data(), 4) == 0;
}

struct Formato {
    int canais = 0;
    int taxa = 0;
    int bits = 0;
};

std::optional<Formato> LerFormato(const QByteArray& b, qint64 pos, uint32_t tamanho)
{
    if (tamanho < TAMANHO_FMT_PCM || LerU16(b, pos) != FORMATO_PCM)
        return std::nullopt;
    const Formato f{LerU16(b, pos + 2), int(LerU32(b, pos + 4)), LerU16(b, pos + 14)};
    const int bytesPorQuadro = f.canais * f.bits / 8;
    const bool valido = f.canais >= 1 && f.canais <= MAX_CANAIS && f.taxa > 0 && (f.bits == 8 || f.bits == 16)
                        && LerU16(b, pos + 12) == bytesPorQuadro;
    return valido ? std::optional(f) : std::nullopt;
}

// 8-bit samples are unsigned around 128; both widths end up signed 16-bit.
std::vector<int16_t> Amostras(const QByteArray& b, qint64 pos, uint32_t tamanho, const Formato& f)
{
    std::vector<int16_t> saida;
    const int largura = f.bits / 8;
    const uint32_t quadros = tamanho / uint32_t(largura * f.canais);
    saida.reserve(quadros * f.canais);
    for (uint32_t i = 0; i < quadros * f.canais; ++i)
        saida.push_back(largura == 1 ? int16_t((LerU8(b, pos + i) - 128) * 256) : LerS16(b, pos + 2 * i));
    return saida;
}

} // namespace

double SomPcm::Segundos() const
{
    return amostrasPorSegundo > 0 && canais > 0 ? double(amostras.size()) / canais / amostrasPorSegundo : 0;
}

std::optional<SomPcm> LerWav(const QByteArray& imagem)
{
    const char* p = imagem.constData();
    if (imagem.size() < CABECALHO_RIFF || !Nome(p, "RIFF") || !Nome(p + 8, "WAVE"))
        return std::nullopt;
    const uint64_t fim = uint64_t(LerU32(imagem, 4)) + 8;
    if (fim > uint64_t(imagem.size()))
        return std::nullopt;

    std::optional<Formato> formato;
    // Chunks follow one another, each padded to an even length; "fmt " must come
    // before "data", and anything else (a LIST of tags) is passed over.
    for (uint64_t pos = CABECALHO_RIFF; pos + CABECALHO_BLOCO <= fim;) {
        const char* bloco = p + pos;
        const uint32_t tamanho = LerU32(imagem, qint64(pos) + 4);
        const uint64_t inicio = pos + CABECALHO_BLOCO;
        if (inicio + tamanho > fim)
            return std::nullopt;
        if (Nome(bloco, "fmt ")) {
            if (!(formato = LerFormato(imagem, qint64(inicio), tamanho)))
                return std::nullopt;
        } else if (Nome(bloco, "data")) {
            if (!formato)
                return std::nullopt;
            return SomPcm{formato->taxa, formato->canais, Amostras(imagem, qint64(inicio), tamanho, *formato)};
        }
        pos = inicio + tamanho + (tamanho & 1);
    }
    return std::nullopt;
}

} // namespace zelpo
