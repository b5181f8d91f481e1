#!/usr/bin/env bash
# Under Xvfb, the program's tray icon added while no tray runs shows up in a
# tray started afterwards, as at a log-on where the panel comes late.
# Usage: verifica_icone_bandeja.sh PATH_TO_janela_auxiliar
set -uo pipefail
janela=$1
source "$(dirname "$0")/xvfb_comum.sh" trayer import convert

"$janela" bandeja >"$tmp/id" 2>"$tmp/janela.log" &
pids+=($!)
esperar test -s "$tmp/id" || { echo "FAIL: the window did not start"; cat "$tmp/janela.log"; exit 1; }

trayer --edge bottom >"$tmp/trayer.log" 2>&1 &
pids+=($!)
painel() { xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {print $1; exit}'; }
tem_painel() { test -n "$(painel)"; }
esperar tem_painel || { echo "trayer did not start"; cat "$tmp/trayer.log"; exit 1; }
embutido() { xwininfo -tree -id "$(painel)" | grep -q '("janela_auxiliar" "janela_auxiliar")'; }
if ! esperar embutido; then
  echo "FAIL: no icon of the program in the tray"
  xwininfo -tree -id "$(painel)"
  exit 1
fi
# The icon is drawn: its window is not one flat colour.
icone=$(xwininfo -tree -id "$(painel)" | awk '/\("janela_auxiliar" "janela_auxiliar"\)/ {print $1; exit}')
desenhado() {
  import -window "$icone" "$tmp/icone.png" 2>/dev/null \
    && [ "$(convert "$tmp/icone.png" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ]
}
if ! esperar desenhado; then
  echo "FAIL: the tray icon is blank"
  exit 1
fi
echo "ok: icon window $icone in the tray"
