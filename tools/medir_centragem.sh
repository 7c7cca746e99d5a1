#!/bin/sh
# Are the game's boxes centred on the main window under a real window manager? Starts a
# private Xvfb with openbox, then, VEZES times each (50 by default), starts the game from a
# fresh profile, presses F2 (the new-puzzle dialog), F4 (the restart question), F1 (the
# rules), or opens Ajuda > Autor or Ajuda > Recordes, as soon as the main window is on the
# screen, waits for the box to settle and measures the gaps between its frame and the
# main window's frame, as the window manager reports them. A box is centred when its left
# and right gaps, and its top and bottom gaps, differ by at most one pixel. Also counts
# the boxes that first showed somewhere else and then moved.
#
#   [VEZES=N] tools/medir_centragem.sh <build folder> [program, default: <build folder>/zelpo]
#
# Needs, besides what tools/dependencias.sh installs: openbox, xdotool, x11-utils
#   apt-get install openbox xdotool x11-utils
# Exits 1 unless every box was centred.
set -eu
CONSTRUCAO=$(cd "${1:?uso: medir_centragem.sh <pasta de construção> [programa]}" && pwd)
PROGRAMA=${2:-$CONSTRUCAO/zelpo}
VEZES=${VEZES:-50}
for p in openbox xdotool xwininfo Xvfb; do
  command -v $p >/dev/null || { echo "falta $p: apt-get install openbox xdotool x11-utils xvfb" >&2; exit 2; }
done

TELA=""
for n in $(seq 90 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { TELA=$n; break; }
done
export DISPLAY=:$TELA
TRABALHO=$(mktemp -d /tmp/zelpo-centragem.XXXXXX)
Xvfb :$TELA -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
SERVIDOR=$!
JOGO=""
GERENTE=""
# A game still running when the script is interrupted ends with the X server.
fim() {
  [ -z "$GERENTE" ] || kill "$GERENTE" 2>/dev/null || true
  kill "$SERVIDOR" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$TRABALHO"
}
trap fim EXIT INT TERM
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$TELA ] && break; sleep 0.1; done
HOME=$TRABALHO openbox --sm-disable >/dev/null 2>&1 &
GERENTE=$!
sleep 1

# "x y w h" of the frame the window manager put around a window: the client area as the X
# server has it, grown by the frame extents the window manager announces.
moldura() {
  cliente=$(xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF}
    END {print x, y, w, h}')
  extensao=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ,)
  # shellcheck disable=SC2086
  set -- $cliente ${extensao:-0 0 0 0}
  echo $(($1 - $5)) $(($2 - $7)) $(($3 + $5 + $6)) $(($4 + $7 + $8))
}

# The first window with this exact title that is on the screen, within 20 s.
janela() {
  for _ in $(seq 400); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.05
  done
  return 1
}

# The frame once it has stayed put for 0.4 s (at most 4 s); the first frame seen goes to
# $TRABALHO/primeira.
assentada() {
  anterior=$(moldura "$1")
  echo "$anterior" >"$TRABALHO/primeira"
  parada=0
  for _ in $(seq 80); do
    sleep 0.05
    agora=$(moldura "$1")
    if [ "$agora" = "$anterior" ]; then
      parada=$((parada + 1))
      [ $parada -ge 8 ] && break
    else
      parada=0
      anterior=$agora
    fi
  done
  echo "$anterior"
}

encerrar() {
  kill -9 "$JOGO" 2>/dev/null || true
  wait "$JOGO" 2>/dev/null || true
  JOGO=""
}

# One showing: fresh profile, start, key, measure; prints "dono caixa primeira".
medir() {
  tecla=$1 titulo=$2
  casa=$TRABALHO/casa
  rm -rf "$casa"
  mkdir -p "$casa/run"
  chmod 700 "$casa/run"
  HOME=$casa XDG_CONFIG_HOME=$casa/.config XDG_DATA_HOME=$casa/.local/share XDG_CACHE_HOME=$casa/.cache \
    XDG_STATE_HOME=$casa/.local/state XDG_RUNTIME_DIR=$casa/run "$PROGRAMA" >/dev/null 2>&1 &
  JOGO=$!
  if ! principal=$(janela "Brumas Vivas - Zelpora 3.0"); then
    echo "a janela do jogo não apareceu" >&2
    encerrar
    return 1
  fi
  xdotool windowactivate --sync "$principal" >/dev/null 2>&1 || true
  # shellcheck disable=SC2086
  xdotool key --clearmodifiers $tecla
  if ! caixa=$(janela "$titulo"); then
    echo "a caixa \"$titulo\" não apareceu" >&2
    encerrar
    return 1
  fi
  c=$(assentada "$caixa")
  p=$(cat "$TRABALHO/primeira")
  d=$(moldura "$principal")
  encerrar
  echo "$d $c $p"
}

falhas=0
for caso in "F2|Criar o zelpora|diálogo do novo jogo (F2)" "F4|Reiniciar|pergunta de reiniciar (F4)" \
  "F1|Como jogar|regras (F1)" "alt+u a|Zelpora 3.0|janela do autor" "alt+u r|Recordes|recordes"; do
  tecla=${caso%%|*}
  resto=${caso#*|}
  titulo=${resto%%|*}
  nome=${resto#*|}
  centradas=0 movidas=0 pior=0
  for i in $(seq "$VEZES"); do
    linha=$(medir "$tecla" "$titulo") || { falhas=$((falhas + 1)); continue; }
    # shellcheck disable=SC2086
    set -- $linha
    dx=$1 dy=$2 dw=$3 dh=$4 cx=$5 cy=$6 cw=$7 ch=$8 px=$9
    shift 9
    py=$1
    esquerda=$((cx - dx)) direita=$((dx + dw - cx - cw))
    cima=$((cy - dy)) baixo=$((dy + dh - cy - ch))
    erroX=$((esquerda - direita)) erroY=$((cima - baixo))
    [ $erroX -lt 0 ] && erroX=$((-erroX))
    [ $erroY -lt 0 ] && erroY=$((-erroY))
    erro=$((erroX > erroY ? erroX : erroY))
    [ $erro -gt $pior ] && pior=$erro
    if [ $erro -le 1 ]; then
      centradas=$((centradas + 1))
    else
      echo "  $nome, vez $i: folgas esquerda $esquerda direita $direita, cima $cima baixo $baixo" \
        "(janela $dw x $dh em $dx,$dy; caixa $cw x $ch em $cx,$cy)"
    fi
    if [ "$px $py" != "$cx $cy" ]; then
      movidas=$((movidas + 1))
      echo "  $nome, vez $i: apareceu em $px,$py e foi para $cx,$cy"
    fi
  done
  echo "$nome: $centradas de $VEZES centradas a 1 px (pior diferença $pior px); $movidas mudaram de lugar depois de aparecer"
  [ $centradas -eq "$VEZES" ] || falhas=$((falhas + 1))
done
[ $falhas -eq 0 ]
