#!/usr/bin/env bash
# Screenshots of the real program under a bare X server (no window manager,
# white root window) at scale 1 and 2, without and with a compositor
# (xcompmgr): the rounded corners of the views, the menu strip and the about
# box show no black pixels, and no line runs along the charts' edges; with
# the compositor the corners are drawn smooth, not cut in whole pixels.
# Either way the pointer goes through the see-through corners. The
# screenshots (also hovered, with the calendar and the configuration lists
# open) stay in $CAPTURAS when it is set.
# Usage: verifica_aparencia.sh PROGRAM DEMO_DB_MAKER CHECKER
set -uo pipefail
programa=$1 fazer_banco=$2 verificar=$3
for p in Xvfb xdotool import xcompmgr; do
  command -v "$p" >/dev/null || { echo "SKIP: $p is not installed"; exit 77; }
done

tmp=$(mktemp -d)
pids=()
limpar() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  # The database engine may not answer a polite request at once.
  for _ in $(seq 50); do
    vivos=0
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && vivos=1; done
    [ $vivos = 0 ] && break
    sleep 0.1
  done
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap limpar EXIT
capturas=${CAPTURAS:-$tmp/capturas}
mkdir -p "$capturas"

"$fazer_banco" "$tmp/loja.fdb" >/dev/null || { echo "FAIL: no demo database"; exit 1; }

export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_CONFIG_DIRS=$tmp/xdg XDG_RUNTIME_DIR=$tmp
export VANTREL_MESSAGE_LOG=$tmp/mensagens.log QT_QPA_PLATFORM=xcb
# The demo file is for the embedded engine alone: a local server is not asked.
export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1
unset WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
chmod 700 "$tmp"

falhas=0
verifica() {
  local saida
  saida=$("$verificar" "$@") || falhas=1
  sed "s|^|  $2: |" <<<"$saida"
}

for caso in "1 sem" "2 sem" "1 com" "2 com"; do
  read -r escala composicao <<<"$caso"
  # Display numbers 80 to 89 are this check's own.
  tela=
  for n in 80 81 82 83 84 85 86 87 88 89; do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1600x900x24 -wr -noreset -nolisten tcp >"$tmp/xvfb$n.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then tela=$n; pids+=($xvfb); break; fi
  done
  [ -n "$tela" ] || { echo "FAIL: no free display among :80-:89"; exit 1; }
  export DISPLAY=:$tela
  compositor=
  if [ "$composicao" = com ]; then
    xcompmgr >"$tmp/xcompmgr$escala.log" 2>&1 &
    compositor=$!
    pids+=($compositor)
    sleep 1
    kill -0 "$compositor" 2>/dev/null || { echo "FAIL: xcompmgr did not start"; cat "$tmp/xcompmgr$escala.log"; exit 1; }
  fi

  ini=$tmp/ConfigGadGet$escala$composicao.Ini
  printf '%s\r\n' '[Configuracoes]' 'LocRem=L' 'Servidor=' 'Protocolo=0' \
    "CaminhoBanco=$tmp/loja.fdb" 'Usuario=SYSDBA' 'Senha=masterkey' >"$ini"
  VANTREL_GADGETS_INI=$ini QT_SCALE_FACTOR=$escala "$programa" >"$tmp/programa$escala$composicao.log" 2>&1 &
  gadget=$!
  pids+=($gadget)
  if ! timeout 20 xdotool search --sync --onlyvisible --class vendas-por-hora >/dev/null; then
    echo "FAIL scale $escala: the gadget did not show"; cat "$tmp/programa$escala$composicao.log"; falhas=1; continue
  fi
  sleep 3

  # The frame's place with no saved position: flush right, 20 from the top.
  gx=$((1600 / escala - 422)) gy=20
  ponto() { echo $(( ($1) * escala )) $(( ($2) * escala )); }
  mover() { xdotool mousemove $(ponto "$1" "$2"); sleep "${3:-1}"; }
  clicar() { mover "$1" "$2" 0.3; xdotool click 1; sleep "${3:-1}"; }
  foto() {
    local arquivo=$capturas/$1-${escala}x$([ "$composicao" = com ] && echo -compositor).png
    import -window root "$arquivo"
    echo "$arquivo"
  }
  # The window under the pointer at a place of the screen.
  sob() { xdotool mousemove $(ponto "$1" "$2") getmouselocation --shell | sed -n 's/^WINDOW=//p'; }

  echo "scale $escala, $([ "$composicao" = com ] && echo with || echo without) a compositor"
  mover 5 800
  f=$(foto resumo)
  verifica cantos "$f" "$escala" $((gx + 102)) $gy 287 210 10
  verifica beiras "$f" "$escala" $((gx + 102)) $gy 286 186 baixo
  [ "$composicao" = com ] && verifica suaves "$f" "$escala" $((gx + 102)) $gy 287 210 10
  host=$(xdotool search --all --pid "$gadget" --name '^Vendas por Hora$' | head -n1)
  canto=$(sob $((gx + 102)) $gy) meio=$(sob $((gx + 102 + 143)) $((gy + 105)))
  if [ "$canto" != "$host" ] && [ "$meio" = "$host" ]; then
    echo "  ok: the pointer goes through the view's corner to the desktop, not through its middle"
  else
    echo "  FAIL: under the view's corner $canto, under its middle $meio; the gadget is $host"; falhas=1
  fi
  mover 5 800
  mover $((gx + 102 + 143)) $((gy + 90))
  f=$(foto resumo-marcas)
  verifica cantos "$f" "$escala" $((gx + 394)) $gy 23 107 5
  # In the summary view, so that nothing of the gadget lies under its corners.
  mover $((gx + 200)) $((gy + 200)) 0.5
  clicar $((gx + 405)) $((gy + 74)) 1.5
  if sobre=$(timeout 5 xdotool search --sync --onlyvisible --name '^About$' | head -n1); then
    eval "$(xdotool getwindowgeometry --shell "$sobre")"
    f=$(foto sobre)
    verifica cantos "$f" "$escala" $((X / escala)) $((Y / escala)) 380 204 10
    [ "$composicao" = com ] && verifica suaves "$f" "$escala" $((X / escala)) $((Y / escala)) 380 204 10
    xdotool key Return
    sleep 0.5
  else
    echo "FAIL scale $escala: the about box did not open"; falhas=1
  fi

  mover $((gx + 200)) $((gy + 200)) 0.5
  clicar $((gx + 405)) $((gy + 32))
  mover $((gx + 230)) $((gy + 225))
  f=$(foto detalhe)
  verifica cantos "$f" "$escala" $gx $gy 389 252 10
  verifica beiras "$f" "$escala" $gx $gy 389 214
  [ "$composicao" = com ] && verifica suaves "$f" "$escala" $gx $gy 389 252 10
  mover $((gx + 194)) $((gy + 100))
  foto detalhe-marcas >/dev/null
  clicar $((gx + 111)) $((gy + 237))
  foto calendario >/dev/null
  xdotool key Escape
  sleep 0.5

  mover $((gx + 230)) $((gy + 225)) 0.5
  clicar $((gx + 405)) $((gy + 53)) 2
  if conf=$(timeout 10 xdotool search --sync --onlyvisible --name '^Configurações$' | head -n1); then
    eval "$(xdotool getwindowgeometry --shell "$conf")"
    cx=$((X / escala)) cy=$((Y / escala))
    clicar $((cx + 100)) $((cy + 216))
    foto lista-opacidade >/dev/null
    xdotool key Down Return
    sleep 0.5
    clicar $((cx + 100)) $((cy + 216))
    foto lista-opacidade-de-novo >/dev/null
    xdotool key Escape
    sleep 0.3
    clicar $((cx + 100)) $((cy + 80))
    foto lista-filiais >/dev/null
    xdotool key Escape
  else
    echo "FAIL scale $escala: the configuration dialog did not open"; falhas=1
  fi

  kill "$gadget" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$gadget" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$gadget" 2>/dev/null
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$gadget" $compositor "$xvfb" 2>/dev/null
done
[ -n "${CAPTURAS:-}" ] && echo "screenshots in $capturas"
exit $falhas
