#!/bin/sh
# Non-blank, non-comment lines of C++ in the program (src/) and in the tests (tests/),
# and the tests' share of the program, as the test-size aim counts them.
set -eu
cd "$(dirname "$0")/.."
contar() {
  find "$@" -name '*.cpp' -o -name '*.h' | xargs cat | sed -e 's#//.*##' | grep -cv '^[[:space:]]*$'
}
programa=$(contar src)
testes=$(contar tests)
echo "programa $programa  testes $testes  razão $(( 100 * testes / programa ))%"
