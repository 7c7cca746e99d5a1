#!/bin/sh
# Resident memory of the game with a puzzle of 9 x 7 small pieces on the board, at the
# screen scales given (default 1 and 2), each in a fresh profile on the offscreen
# platform, read two seconds after the start.
#   sh bench/medir_escala.sh <build folder> [scale...]
set -eu
CONSTRUCAO=$(cd "${1:?uso: medir_escala.sh <pasta de construção> [escala...]}" && pwd)
shift
[ $# -gt 0 ] || set -- 1 2
cmake --build "$CONSTRUCAO" --target zelpo >/dev/null
for escala in "$@"; do
  CASA=$(mktemp -d)
  mkdir -p "$CASA/config/Brumas Vivas"
  printf '[Zelpora%%203.0]\nDificuldade=2\nPequenas=True\nAdaptar=True\n' > "$CASA/config/Brumas Vivas/Brumas Vivas.ini"
  HOME=$CASA XDG_CONFIG_HOME=$CASA/config XDG_DATA_HOME=$CASA/dados XDG_STATE_HOME=$CASA/estado \
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$escala "$CONSTRUCAO/zelpo" >/dev/null 2>&1 &
  PID=$!
  sleep 2
  RSS=$(awk '/VmRSS/ {print $2}' /proc/$PID/status)
  kill $PID 2>/dev/null; wait $PID 2>/dev/null || true
  rm -rf "$CASA"
  echo "escala $escala: $(( RSS / 1024 )) MiB resident"
done
