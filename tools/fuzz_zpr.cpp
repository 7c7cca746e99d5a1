// libFuzzer target for the .zpr reader: any byte string must give either a game that
// passes every check or a message, never a crash, and an accepted game must encode back
// to exactly the bytes it came from.
#include "files/zpr.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    const QByteArray bytes(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(tamanho));
    const zelpo::ResultadoZPR r = zelpo::DecodificarZPR(bytes);
    if (r.jogo) {
        // Accepted files re-encode byte for byte, except for the magic's blanks and the
        // extension's padding, which the reader normalizes.
        const QByteArray de_novo = zelpo::CodificarZPR(*r.jogo);
        if (de_novo.size() != bytes.size())
            std::abort();
        const zelpo::ResultadoZPR r2 = zelpo::DecodificarZPR(de_novo);
        if (!r2.jogo || zelpo::CodificarZPR(*r2.jogo) != de_novo)
            std::abort();
    } else if (!r.versaoIncorreta && r.erro.isEmpty()) {
        std::abort(); // refused without saying why
    }
    return 0;
}
