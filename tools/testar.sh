#!/bin/sh
# Installs what is missing, builds the game and its tests with the address and
# undefined-behaviour sanitizers and warnings as errors, and runs every test headless.
set -eu
cd "$(dirname "$0")/.."
sh tools/dependencias.sh
cmake -S . -B build-testes -DCMAKE_BUILD_TYPE=Debug -DZELPO_SANITIZE=ON -DZELPO_WERROR=ON -DZELPO_BENCH=OFF >/dev/null
cmake --build build-testes -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-testes --output-on-failure -j"$(nproc)"
