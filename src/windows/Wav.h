#pragma once
// The game's sounds as samples: a RIFF WAVE image held in memory (PCM, 8 or 16 bits,
// mono or stereo) read into 16-bit signed samples, the one form the sound output plays.
// Som reads each embedded image once when it prepares the output; the samples then stay
// with Som for as long as the output may play them.

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace zelpo {

struct SomPcm {
    int amostrasPorSegundo = 0;
    int canais = 0;
    std::vector<int16_t> amostras; // channels interleaved

    double Segundos() const;
};

// Reads the image's own RIFF length, so bytes after it (padding of a resource) are
// ignored. Nothing when the image is not a complete PCM sound of a form we play.
std::optional<SomPcm> LerWav(const QByteArray& imagem);

} // namespace zelpo
