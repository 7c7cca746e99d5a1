#!/bin/sh
# How soon each sound output is heard, on a private PulseAudio whose only sink is a null
# sink. For every output a fresh server is started and its sink's monitor recorded with
# parec while paplay plays 10 clicks and 2 fanfares (the reference for the recording's
# own delay), the output plays 50 clicks, 5 fanfares, a click into a fanfare, a stop in
# a fanfare and bursts of quick clicks, and paplay plays 10 clicks again (to see that
# the recording kept time). zelpo_medir_som then finds every sound in the recording and
# prints one table row per output, in milliseconds after paplay.
#
#   bench/som/medir_som.sh <build folder> [outputs...]     (default: all built)
set -eu
CONSTRUCAO=$(cd "${1:?uso: medir_som.sh <pasta de construção> [saídas...]}" && pwd)
shift
MEDIDOR="$CONSTRUCAO/bench/som/zelpo_medir_som"
TAXA=44100

if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends pulseaudio pulseaudio-utils
fi
cmake --build "$CONSTRUCAO" --target zelpo_medir_som >/dev/null
SAIDAS=${*:-$("$MEDIDOR" 2>&1 | sed -n 's/^modos: paplay //p')}

PASTA=$(mktemp -d /tmp/zelpo-som.XXXXXX)
echo "Gravações e registros em $PASTA"
SERVIDOR=""
GRAVADOR=""
parar() {
  [ -n "$GRAVADOR" ] && kill "$GRAVADOR" 2>/dev/null
  [ -n "$SERVIDOR" ] && kill "$SERVIDOR" 2>/dev/null
  wait 2>/dev/null || true
  GRAVADOR=""; SERVIDOR=""
}
trap parar EXIT INT TERM

medir() {
  saida=$1
  AQUI="$PASTA/$saida"
  mkdir -p "$AQUI"
  export HOME="$AQUI" XDG_RUNTIME_DIR="$AQUI" XDG_CONFIG_HOME="$AQUI/config" PULSE_SERVER="unix:$AQUI/nativo"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=file:"$AQUI/servidor.log" \
    --load="module-null-sink sink_name=medida rate=$TAXA" \
    --load="module-native-protocol-unix socket=$AQUI/nativo auth-anonymous=1" 2>/dev/null &
  SERVIDOR=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null

  date +%s%N >"$AQUI/inicio.txt"
  parec -d medida.monitor --format=s16le --rate=$TAXA --channels=1 --raw >"$AQUI/gravacao.raw" &
  GRAVADOR=$!
  sleep 1
  "$MEDIDOR" tocar paplay "$AQUI/registro.txt" --rotulo paplay-antes --cliques 10 --fanfarras 2
  intervalo=1
  # QSoundEffect's clicks came up to 1.6 s late: wider spacing keeps each one apart.
  [ "$saida" = qsoundeffect ] && intervalo=2.5
  "$MEDIDOR" tocar "$saida" "$AQUI/registro.txt" --intervalo $intervalo 2>"$AQUI/erros.txt"
  "$MEDIDOR" tocar paplay "$AQUI/registro.txt" --rotulo paplay-depois --cliques 10 --fanfarras 0
  sleep 1
  parar
  "$MEDIDOR" analisar "$AQUI/gravacao.raw" $TAXA "$(cat "$AQUI/inicio.txt")" "$AQUI/registro.txt" >"$AQUI/resultado.txt"
}

for saida in $SAIDAS; do
  echo "  $saida"
  medir "$saida"
done
echo
echo "| saída | cliques ouvidos | clique: mediana / máx. (ms) | fanfarra: mediana / máx. (ms) | fim após o corte (ms) | fim após parar (ms) | rajada (ms) | deriva da gravação (ms) |"
echo "|---|---|---|---|---|---|---|---|"
for saida in $SAIDAS; do cat "$PASTA/$saida/resultado.txt"; done
grep -h '^#' "$PASTA"/*/registro.txt | sed 's/^# /  /'
