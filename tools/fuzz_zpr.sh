#!/bin/sh
# Builds the libFuzzer target of the saved-game reader with clang (CMake option
# ZELPO_FUZZ) and runs it, starting from the corpus kept in tests/corpus_zpr. Needs clang
# and libclang-rt-14-dev (Debian 12).
#   tools/fuzz_zpr.sh [seconds]      default 600
# New inputs land in build-fuzz/corpus; crashes in build-fuzz/achados. To keep what was
# found, merge it into the kept corpus (the replay test runs every file there):
#   build-fuzz/zelpo_fuzz_zpr -merge=1 tests/corpus_zpr build-fuzz/corpus build-fuzz/achados
set -eu
cd "$(dirname "$0")/.."
segundos="${1:-600}"
saida=build-fuzz
cmake -S . -B "$saida" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DZELPO_FUZZ=ON -DZELPO_TESTS=OFF -DZELPO_BENCH=OFF >/dev/null
cmake --build "$saida" --target zelpo_fuzz_zpr -j"$(nproc)"
mkdir -p "$saida/corpus" "$saida/achados"
cp -n tests/corpus_zpr/* "$saida/corpus/"
exec "$saida/zelpo_fuzz_zpr" -max_total_time="$segundos" -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$saida/achados/" "$saida/corpus"
