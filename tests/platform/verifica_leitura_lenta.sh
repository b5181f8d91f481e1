#!/usr/bin/env bash
# The real program on Xvfb with openbox, reading through a relay to the local
# server that delays every answer, so that a refresh takes 15 to 25 s. While
# such a refresh runs: the view can be dragged and is painted at its new
# place; a day picked ends up showing that day's chart, never the chart of
# the day it dropped; the close tile ends the program within a second (5 s of
# margin here). Charts are told apart in screenshots, next to the ones each
# day shows when the network is fast.
# Usage: verifica_leitura_lenta.sh PROGRAM DATABASE RELAY
set -uo pipefail
programa_gadget=$1 banco=$2 retransmissor=$3
source "$(dirname "$0")/xvfb_comum.sh" xdotool import compare
programa=$programa_gadget
source "$(dirname "$0")/gadget_comum.sh"

(exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null || { echo "SKIP: no local database server on 3050"; exit 77; }
senha=${VPH_SENHA_SYSDBA-$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' \
  /etc/firebird/3.0/SYSDBA.password 2>/dev/null)}
[ -n "$senha" ] || { echo "SKIP: no SYSDBA password for the local server"; exit 77; }

# The server runs as its own user, which must reach the copy.
mkdir -p "$tmp/servidor"
cp "$banco" "$tmp/servidor/loja.fdb"
chmod 711 "$tmp"
chmod 777 "$tmp/servidor"
chmod 666 "$tmp/servidor/loja.fdb"
# The folder is now too open to be the program's session folder.
mkdir -m 700 "$tmp/sessao"
export XDG_RUNTIME_DIR=$tmp/sessao

# 0.7 s each way makes a refresh take 15 to 25 s; much more and the login
# outlasts its own limits.
"$retransmissor" 700 >"$tmp/porta" 2>"$tmp/retransmissor.log" &
rede=$!
pids+=("$rede")
esperar test -s "$tmp/porta" || { echo "the relay did not start"; cat "$tmp/retransmissor.log"; exit 1; }
lenta() { kill -USR1 "$rede"; }
rapida() { kill -USR2 "$rede"; }

printf '%s\r\n' '[Configuracoes]' 'LocRem=R' "Servidor=127.0.0.1/$(head -n1 "$tmp/porta")" \
  'Protocolo=0' "CaminhoBanco=$tmp/servidor/loja.fdb" 'Usuario=SYSDBA' "Senha=$senha" '' \
  '[GadGetVendHora]' PosX=100 PosY=100 AtualizaDados=60 >"$VANTREL_GADGETS_INI"

# At PosX=100, PosY=100 the summary view is 287 x 210 at (202, 100), 315
# wide with the strip. Places below are from the view's corner: the strip's
# tiles, 23 pixels square; the day buttons; the chart, without the date.
VISTA=287x210+202+100
TILE_X=303 FECHAR_Y=11 MOVER_Y=95
VOLTAR_X=21 AVANCAR_X=121 DIA_Y=198
GRAFICO=260x170+12+12

falhas=0
falhar() { echo "FAIL $*"; falhas=1; }
terminou() { ! kill -0 "$gadget" 2>/dev/null; }
agora() { date +%s%N; }
segundos() { awk -v n="$1" 'BEGIN {printf "%.1f", n / 1e9}'; }

# The view's corner on the screen, as "X Y".
canto() { visivel | sed 's/^[0-9]*x[0-9]*+\([-0-9]*\)+\([-0-9]*\)$/\1 \2/'; }
no_canto() { [ "$(canto)" = "$1" ]; }
com_faixa() { visivel | grep -q "^315x210+"; }

# The summary chart, into the file given.
grafico() {
  local x y l a gx gy
  read -r x y <<<"$(canto)"
  IFS='x+' read -r l a gx gy <<<"$GRAFICO"
  import -window root -crop "${l}x${a}+$((x + gx))+$((y + gy))" "$1" 2>/dev/null
}

# Whether two charts are alike: a new screenshot of the same chart differs
# in a few pixels by a shade or two, two days' charts in thousands.
iguais() {
  local n
  n=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1)
  [ "${n%%.*}" -lt 20 ] 2>/dev/null
}

# Clicks at a place of the view, the pointer coming from outside it and
# leaving it, so that no hover face is in the screenshots.
clicar() {
  local x y
  read -r x y <<<"$(canto)"
  xdotool mousemove 900 700 mousemove $((x + $1)) $((y + $2)) click 1
  sleep 0.2
  xdotool mousemove 900 700
}

# Waits until the chart settles: the same twice, half a second apart.
assentado() {
  local _
  grafico "$tmp/antes.png"
  for _ in $(seq 40); do
    sleep 0.5
    grafico "$tmp/atual.png"
    iguais "$tmp/antes.png" "$tmp/atual.png" && return 0
    mv "$tmp/atual.png" "$tmp/antes.png"
  done
  return 1
}

# Waits up to 90 s until the chart is the one in the first file; returns 2
# as soon as the one in the second file (the dropped day's) shows.
mostra() {
  local fim=$(($(agora) + 90000000000))
  while [ "$(agora)" -lt "$fim" ]; do
    grafico "$tmp/atual.png"
    iguais "$tmp/atual.png" "$1" && return 0
    [ -n "${2-}" ] && iguais "$tmp/atual.png" "$2" && return 2
    sleep 0.2
  done
  return 1
}

# Today's running hour is drawn hollow: a new hour during the check would
# make today's chart another. The check takes well under two minutes.
minuto=$(date +%-M)
if [ "$minuto" -ge 58 ]; then sleep $(( (60 - minuto) * 60 - $(date +%-S) + 2 )); fi

iniciar_gadget
esperar gadget_em "$VISTA" || { falhar "the gadget did not show: $(visivel)"; relatar; exit 1; }
xdotool mousemove 900 700
assentado || { falhar "today's chart never settled"; relatar; exit 1; }
cp "$tmp/atual.png" "$tmp/hoje.png"
for dia in ontem anteontem; do
  clicar "$VOLTAR_X" "$DIA_Y"
  sleep 1
  assentado || { falhar "the chart of $dia never settled"; exit 1; }
  cp "$tmp/atual.png" "$tmp/$dia.png"
done
for par in "hoje ontem" "hoje anteontem" "ontem anteontem"; do
  read -r a b <<<"$par"
  ! iguais "$tmp/$a.png" "$tmp/$b.png" \
    || { echo "the charts of $a and $b look alike: nothing to tell them apart"; exit 1; }
done
clicar "$AVANCAR_X" "$DIA_Y"
mostra "$tmp/ontem.png" || { falhar "back to the day before: another chart"; relatar; exit 1; }
echo "ok: the charts of today and the two days before, read fast"

# Drags the view by the move tile; sets destino to where its corner should end.
arrastar() {
  local x y passo
  read -r x y <<<"$(canto)"
  xdotool mousemove $((x + 100)) $((y + 100))
  esperar com_faixa || falhar "no strip on hover during a reading"
  xdotool mousemove $((x + TILE_X)) $((y + MOVER_Y)) mousedown 1
  for passo in 1 2 3 4 5; do
    xdotool mousemove $((x + TILE_X + passo * $1 / 5)) $((y + MOVER_Y + passo * $2 / 5))
    sleep 0.05
  done
  xdotool mouseup 1
  xdotool mousemove 900 700
  destino="$((x + $1)) $((y + $2))"
}

# A slow reading of today, dragged during it: past days read a moment ago
# are kept, today's sales are read at every refresh.
lenta
clicar "$AVANCAR_X" "$DIA_Y"
inicio=$(agora)
sleep 1
arrastar -100 200
if ! esperar no_canto "$destino"; then
  falhar "the view did not follow a drag during a reading: at $(canto), not $destino"
elif ! mostra "$tmp/ontem.png" "$tmp/hoje.png"; then
  falhar "the view dragged during a reading is not painted at its new place with the day before's chart"
else
  echo "ok: dragged to $destino $(segundos $(($(agora) - inicio))) s into a reading, painted there"
fi
mostra "$tmp/hoje.png" || { falhar "the slow reading of today never showed"; relatar; exit 1; }
duracao=$(($(agora) - inicio))
echo "a reading through the relay took $(segundos $duracao) s"
[ "$duracao" -ge 10000000000 ] || falhar "the relay does not slow the reading enough to tell anything"

# Another day picked during a reading: the dropped day's chart never shows.
lenta
clicar "$VOLTAR_X" "$DIA_Y"
inicio=$(agora)
sleep 2
grafico "$tmp/atual.png"
iguais "$tmp/atual.png" "$tmp/hoje.png" || falhar "the reading of the day before ended too soon"
clicar "$VOLTAR_X" "$DIA_Y"
troca=$(agora)
mostra "$tmp/anteontem.png" "$tmp/ontem.png"
case $? in
  0) echo "ok: the day picked $(segundos $((troca - inicio))) s into a reading shows $(segundos $(($(agora) - troca))) s later; the dropped day never did" ;;
  2) falhar "the chart of the dropped day showed" ;;
  *) falhar "the day picked during a reading never showed"; relatar ;;
esac

# Closed during a reading.
clicar "$AVANCAR_X" "$DIA_Y"
sleep 2
read -r x y <<<"$(canto)"
xdotool mousemove $((x + 100)) $((y + 100))
esperar com_faixa || falhar "no strip on hover during a reading"
xdotool mousemove $((x + TILE_X)) $((y + FECHAR_Y))
sleep 0.3
grafico "$tmp/atual.png"
iguais "$tmp/atual.png" "$tmp/anteontem.png" \
  || falhar "the reading of the day before ended before the close tile was clicked"
xdotool click 1
fechado=$(agora)
for _ in $(seq 50); do terminou && break; sleep 0.1; done
if terminou; then
  wait "$gadget"
  codigo=$?
  [ "$codigo" = 0 ] || falhar "exit code $codigo"
  echo "ok: closed during a reading, gone after $(segundos $(($(agora) - fechado))) s"
else
  falhar "the program goes on 5 s after the close tile during a reading"
fi
exit $falhas
