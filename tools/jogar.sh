#!/bin/sh
# Installs what is missing, builds the game and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELPO_TESTS=OFF -DZELPO_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target zelpo
exec ./build/zelpo "$@"
