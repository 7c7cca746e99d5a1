#!/bin/sh
# Builds the libFuzzer target of the .zpr reader with clang, outside CMake and CTest,
# and runs it. Needs clang and libclang-rt-14-dev (Debian 12).
#   tools/fuzz_zpr.sh [seconds]      default 600; the corpus lives in build-fuzz/corpus
set -eu
cd "$(dirname "$0")/.."
segundos="${1:-600}"
saida=build-fuzz
mkdir -p "$saida/corpus" "$saida/achados"
CXX="${CXX:-clang++}"
qt_flags=$(pkg-config --cflags --libs Qt6Core)
# Only the game record and the random module are needed by the codec; they use Qt Core alone.
"$CXX" -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -DQT_NO_KEYWORDS -DQT_NO_CAST_FROM_BYTEARRAY -Isrc \
  tools/fuzz_zpr.cpp src/files/zpr.cpp src/game/jogo.cpp src/game/aleatorio.cpp \
  $qt_flags -o "$saida/fuzz_zpr"
# Seed the corpus with a valid small game so the fuzzer starts past the magic.
if [ ! -f "$saida/corpus/semente.zpr" ]; then
  "$CXX" -std=c++20 -O1 -fPIC -DQT_NO_KEYWORDS -Isrc -x c++ - src/files/zpr.cpp src/game/jogo.cpp \
    src/game/aleatorio.cpp $qt_flags -o "$saida/semente" <<'FIM'
#include "files/zpr.h"
#include <cstdio>
int main(int, char** argv)
{
    zelpo::JogoSalvo s;
    s.Colunas = s.Linhas = 2;
    auto& j = s.jogo;
    for (int i = 0; i < 4; ++i) {
        auto& p = j.Partes[i];
        p.Coluna = static_cast<int16_t>(i % 2);
        p.Linha = static_cast<int16_t>(i / 2);
        j.PartesRolagemInicio[i] = static_cast<int16_t>(3 - i);
    }
    j.Partes[0].Direita = j.Partes[1].Esquerda = 7;
    j.Partes[0].Baixo = j.Partes[2].Cima = 12;
    j.Partes[1].Baixo = j.Partes[3].Cima = 40;
    j.Partes[2].Direita = j.Partes[3].Esquerda = 52;
    j.Partes[3].Encaixada = zelpo::VERDADEIRO;
    j.PartesRolagem[0] = 2; j.PartesRolagem[1] = 0; j.PartesRolagem[2] = 1;
    j.PartesNaRolagem = 3;
    j.BytesFigura = QByteArray("GIF89a", 6);
    j.ExtensaoFigura = QStringLiteral(".gif");
    j.PartesIniciais = 1;
    j.SegundosJogo = 61;
    const QByteArray b = zelpo::CodificarZPR(s);
    FILE* f = std::fopen(argv[1], "wb");
    std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), f);
    std::fclose(f);
}
FIM
  "$saida/semente" "$saida/corpus/semente.zpr"
fi
exec "$saida/fuzz_zpr" -max_total_time="$segundos" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$saida/achados/" "$saida/corpus"
