#!/bin/sh
# Start-up of the game, until its window shows the puzzle's pieces, and of a minimal Qt
# window with a menu bar (bench/inicio/janela_minima.cpp), taking turns on a private Xvfb:
# median of 5 runs each after one warm-up, each with a fresh profile; also the resident
# memory once on the screen and a second later.
#
#   [VEZES=N] bench/inicio/medir_inicio.sh <build folder> [program, default: <build folder>/zelpo]
set -eu
CONSTRUCAO=$(cd "${1:?uso: medir_inicio.sh <pasta de construção> [programa]}" && pwd)
PROGRAMA=${2:-$CONSTRUCAO/zelpo}
ALVOS="zelpo_medir_inicio zelpo_janela_minima"
[ $# -ge 2 ] || ALVOS="$ALVOS zelpo"
# shellcheck disable=SC2086
cmake --build "$CONSTRUCAO" --target $ALVOS >/dev/null

TELA=""
for n in $(seq 90 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { TELA=$n; break; }
done
Xvfb :$TELA -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
SERVIDOR=$!
trap 'kill $SERVIDOR 2>/dev/null; wait 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$TELA ] && break; sleep 0.1; done
DISPLAY=:$TELA "$CONSTRUCAO/bench/inicio/zelpo_medir_inicio" --vezes "${VEZES:-5}" --aquecer 1 \
  --referencia "$CONSTRUCAO/bench/inicio/zelpo_janela_minima" "$PROGRAMA"
