#!/usr/bin/env bash
# The real program on Xvfb with openbox (or $GERENCIADOR), driven with the
# pointer as a user would, one case at a time:
#   fechar           the close tile ends the program, also with always-on-top
#   posicao          a saved or dragged place that leaves too little of the
#                    view on the desktop gives way to the default place
#   incompleto       incomplete database settings: after the box nothing is
#                    left on the screen and a new start works
#   mostrar_desktop  not always on top, the gadget stays below ordinary
#                    windows, also after a click on it, until a click on the
#                    tray icon (tint2's) brings it in front; always on top, it
#                    stays above them; either way show-desktop leaves it on
#                    view, and it is on every workspace, off the taskbar and
#                    the pager
#   bandeja_apos_dialogo  after "Sempre Visível" is changed in the dialog (on,
#                    and on then off), a click on the tray icon still brings
#                    the gadget back after show-desktop
#   faixa            the strip fades after a day picked in the calendar; a
#                    ">" disabled under the pointer loses its hover face
#   icone            a refresh keeps the tray icon (trayer's) it has
#   nomes            the host's title; the about box and the dialog stay off
#                    the taskbar
#   trava            while another user who may write the configuration file
#                    holds its lock, the save at the end of a drag waits
#                    without holding the window: the strip fades, the gadget
#                    repaints and drags again; both saves land, in order
# Usage: [GERENCIADOR=xfwm4] verifica_gadget_x11.sh CASE PROGRAM DATABASE [janela_auxiliar]
set -uo pipefail
caso=$1 programa_gadget=$2 banco=$3 auxiliar=${4-}
extras=(xdotool)
case $caso in
  mostrar_desktop | bandeja_apos_dialogo) extras+=(tint2 wmctrl) ;;
  faixa) extras+=(import) ;;
  trava) extras+=(import flock) ;;
  icone) extras+=(trayer) ;;
esac
source "$(dirname "$0")/xvfb_comum.sh" "${extras[@]}"
programa=$programa_gadget
source "$(dirname "$0")/gadget_comum.sh"

# The screen is 1024 x 768. At PosX=100, PosY=100 the summary view is 287 x 210
# at (202, 100) and the strip's tiles are 23 pixels square from (494, 100).
VISTA=287x210+202+100
VISTA_COM_FAIXA=315x210+202+100
PADRAO=287x210+704+20 # the frame at (1024 - 422, 20)
TILE_X=505
FECHAR_Y=111 CONFIG_Y=153 SOBRE_Y=174 MOVER_Y=195

falhas=0
falhar() { echo "FAIL $*"; falhas=1; }

# Points at the view from outside, then at a tile of the strip, as a user
# does.
apontar_tile() {
  local _
  # A pointer that arrives while the start still hides and shows the host
  # is not seen: try again.
  for _ in 1 2 3; do
    xdotool mousemove 900 700
    sleep 0.2
    xdotool mousemove 300 200
    if esperar gadget_em "$VISTA_COM_FAIXA"; then
      xdotool mousemove "$TILE_X" "$1"
      sleep 0.3
      return 0
    fi
  done
  return 1
}

terminou() { ! kill -0 "$gadget" 2>/dev/null; }

estado_wm() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'; }
# Show-desktop hides windows; leaving it for one window iconifies the others.
escondida() { ! xwininfo -id "$1" | grep -q IsViewable; }
de_volta() { xwininfo -id "$1" | grep -q IsViewable && [ "$(estado_wm "$1")" = Normal ]; }

# The program's icon windows inside the panels' trays (trayer's, tint2's).
icone_na_bandeja() {
  local painel
  for painel in $(xwininfo -root -tree | awk '/\("panel" "trayer"\)|\("tint2" "Tint2"\)/ {print $1}'); do
    xwininfo -tree -id "$painel" | awk '/\("vendas-por-hora" "vendas-por-hora"\)/ {print $1}'
  done
}

caso_fechar() {
  local topo
  for topo in 0 1; do
    escrever_ini "SempreVisivel=$topo" PosX=100 PosY=100
    iniciar_gadget
    if ! esperar gadget_em "$VISTA"; then
      falhar "SempreVisivel=$topo: the gadget did not show: $(visivel) $(xprop -id "$(host)" _NET_WM_STATE)"
      relatar; parar_gadget; continue
    fi
    apontar_tile "$FECHAR_Y" || { falhar "SempreVisivel=$topo: no strip"; parar_gadget; continue; }
    xdotool click 1
    if ! esperar terminou; then
      falhar "SempreVisivel=$topo: the program goes on after the close tile"
      parar_gadget
      continue
    fi
    wait "$gadget"
    local codigo=$?
    [ "$codigo" = 0 ] || falhar "SempreVisivel=$topo: exit code $codigo"
    tr -d '\r' <"$VANTREL_GADGETS_INI" | grep -qx 'IniWindows=0' || falhar "SempreVisivel=$topo: IniWindows not 0"
    echo "ok SempreVisivel=$topo: closed, exit code $codigo"
  done
}

caso_posicao() {
  # PosX PosY where-the-view-shows
  local casos=(
    "-400 704 $PADRAO"      # dragged to the lower left: nothing to grab
    "923 100 $PADRAO"       # the view just past the right edge
    "980 100 $PADRAO"
    "0 740 $PADRAO"         # 28 rows of the view on the screen
    "100 2147483647 $PADRAO" # would overflow
    "-40 500 287x210+62+500" # partly off the left edge: kept
    "100 100 $VISTA"
  )
  local c
  for c in "${casos[@]}"; do
    read -r x y esperado <<<"$c"
    escrever_ini "PosX=$x" "PosY=$y"
    # A program that eats memory ends here instead of taking the machine. A
    # sanitized one reserves terabytes for its shadow at start, so the
    # sanitizer bounds its resident memory instead.
    if [ -n "${ASAN_OPTIONS:-}" ]; then
      ASAN_OPTIONS=$ASAN_OPTIONS:hard_rss_limit_mb=4000 \
        "$programa" >>"$tmp/gadget.out" 2>>"$tmp/gadget.err" &
    else
      ( ulimit -v 4000000; exec "$programa" ) >>"$tmp/gadget.out" 2>>"$tmp/gadget.err" &
    fi
    gadget=$!
    pids+=("$gadget")
    if esperar gadget_em "$esperado"; then
      echo "ok PosX=$x PosY=$y: view at $esperado"
    else
      falhar "PosX=$x PosY=$y: view at '$(visivel)', not $esperado"
      relatar
    fi
    parar_gadget
  done

  # Dragged by the move tile to the lower left, off the screen.
  escrever_ini PosX=100 PosY=100
  iniciar_gadget
  esperar gadget_em "$VISTA" || { falhar "drag: the gadget did not show"; return; }
  apontar_tile "$MOVER_Y" || { falhar "drag: no strip"; return; }
  xdotool mousedown 1
  local passo
  for passo in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((TILE_X - passo * 60)) $((MOVER_Y + passo * 70))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
  xdotool mousemove 900 700
  local salvo
  salvo=$(tr -d '\r' <"$VANTREL_GADGETS_INI" | grep -E '^Pos[XY]=' | tr '\n' ' ')
  if esperar gadget_em "$PADRAO" && [ "$salvo" = "PosX=602 PosY=20 " ]; then
    echo "ok drag off the screen: back at the default place, saved $salvo"
  else
    falhar "drag off the screen: view at '$(visivel)', saved $salvo"
  fi
}

caso_incompleto() {
  senha='' escrever_ini
  iniciar_gadget
  if ! esperar terminou; then
    falhar "the program stays after message 2 (host window $(host))"
    parar_gadget
  else
    wait "$gadget"
    local codigo=$?
    [ "$codigo" = 0 ] || falhar "exit code $codigo after message 2"
  fi
  grep -q 'Configurações do banco de dados não informadas corretamente!' "$VANTREL_MESSAGE_LOG" \
    || falhar "no message 2"; 
  # Fixed, it starts at once.
  escrever_ini
  iniciar_gadget
  if esperar gadget_em; then
    echo "ok: ended after message 2; the next start shows the gadget"
  else
    falhar "the start after fixing the file shows nothing"; relatar
  fi
}

# Clicks the program's icon in the tray.
clicar_icone() {
  local icone ix iy il ia
  icone=$(icone_na_bandeja | head -n1)
  [ -n "$icone" ] || return 1
  eval "$(xwininfo -id "$icone" | awk '/Absolute upper-left X/ {print "ix=" $4} /Absolute upper-left Y/ {print "iy=" $4} /Width/ {print "il=" $2} /Height/ {print "ia=" $2}')"
  xdotool mousemove $((ix + il / 2)) $((iy + ia / 2)) click 1
}

# In the dialog opened from the strip, clicks "Sempre Visível" and "Salvar".
mudar_sempre_visivel() {
  apontar_tile "$CONFIG_Y" || return 1
  xdotool click 1
  esperar janela_dialogo >/dev/null || return 1
  local dialogo dx dy
  dialogo=$(janela_dialogo)
  eval "$(xwininfo -id "$dialogo" | awk '/Absolute upper-left X/ {print "dx=" $4} /Absolute upper-left Y/ {print "dy=" $4}')"
  # The box at (5, 228), 120 x 19; "Salvar" at (21, 265), 80 x 22.
  xdotool mousemove $((dx + 15)) $((dy + 237)) click 1
  sleep 0.3
  xdotool mousemove $((dx + 61)) $((dy + 276)) click 1
  esperar sh -c "! xwininfo -id $dialogo 2>/dev/null | grep -q IsViewable"
}

ativa() { [ "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $5}' | tr -d ,)" = "$(printf '0x%x' "$1")" ]; }

caso_bandeja_apos_dialogo() {
  tint2 >"$tmp/tint2.log" 2>&1 &
  pids+=($!)
  local mudancas
  for mudancas in ${MUDANCAS:-0 1 2}; do
    escrever_ini SempreVisivel=0 PosX=100 PosY=100
    iniciar_gadget
    esperar gadget_em "$VISTA" || { falhar "the gadget did not show"; relatar; parar_gadget; continue; }
    esperar test -n "$(icone_na_bandeja)" || { falhar "no tray icon in tint2"; parar_gadget; continue; }
    local vez
    for vez in $(seq "$mudancas"); do
      mudar_sempre_visivel || falhar "$mudancas change(s): the dialog did not save"
      sleep 1
    done
    local esperado=$((mudancas % 2))
    tr -d '\r' <"$VANTREL_GADGETS_INI" | grep -qx "SempreVisivel=$esperado" \
      || falhar "$mudancas change(s): SempreVisivel is not $esperado"
    xdotool mousemove 900 700
    local h
    h=$(host)
    wmctrl -k on
    sleep 0.5
    clicar_icone || falhar "$mudancas change(s): no tray icon"
    if esperar de_volta "$h" && esperar ativa "$h"; then
      echo "ok $mudancas change(s) of Sempre Visível: the tray icon brings the gadget back"
    else
      falhar "$mudancas change(s) of Sempre Visível: after show-desktop and a click on the tray icon the host is $(estado_wm "$h"), active: $(xprop -root _NET_ACTIVE_WINDOW)"
      relatar
    fi
    wmctrl -k off
    parar_gadget
  done
}

# Where a window stands among the managed ones: higher is further up.
altura() {
  xprop -root _NET_CLIENT_LIST_STACKING | tr -d , | awk -v w="$(printf '0x%x' "$1")" \
    '{for (i = 5; i <= NF; i++) if ($i == w) print i}'
}
acima() { [ "$(altura "$1")" -gt "$(altura "$2")" ]; }
abaixo() { ! acima "$1" "$2"; }

caso_mostrar_desktop() {
  tint2 >"$tmp/tint2.log" 2>&1 &
  pids+=($!)
  # Another program's window over the right part of the view, which shows at
  # 202..488 x 500..709.
  "$auxiliar" nenhuma >"$tmp/aux.id" 2>"$tmp/aux.log" &
  pids+=($!)
  esperar test -s "$tmp/aux.id" || { falhar "the other window did not start"; return; }
  local outra topo h
  outra=$(head -n1 "$tmp/aux.id")
  xdotool windowmove "$outra" 300 450
  for topo in 0 1; do
    escrever_ini "SempreVisivel=$topo" PosX=100 PosY=500
    iniciar_gadget
    if ! esperar gadget_em 287x210+202+500; then
      falhar "SempreVisivel=$topo: the gadget did not show"; relatar; parar_gadget; continue
    fi
    h=$(host)
    esperar test -n "$(icone_na_bandeja)" || falhar "SempreVisivel=$topo: no tray icon in tint2"
    local estados
    estados=$(xprop -id "$h" _NET_WM_STATE)
    grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$estados" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$estados" \
      || falhar "SempreVisivel=$topo: on the taskbar or the pager: $estados"
    [ "$(xprop -id "$h" _NET_WM_DESKTOP | awk '{print $3}')" = 4294967295 ] \
      || falhar "SempreVisivel=$topo: not on every workspace: $(xprop -id "$h" _NET_WM_DESKTOP)"

    xdotool windowactivate "$outra"
    sleep 0.5
    if [ "$topo" = 1 ]; then
      acima "$h" "$outra" && echo "ok always on top: above the window activated after it" \
        || falhar "always on top, yet below the window activated after it"
    else
      abaixo "$h" "$outra" || falhar "on the desktop, yet above the window activated after it"
      # A click on the view uncovered (a day back) leaves it below.
      xdotool mousemove 223 698 click 1
      sleep 0.5
      xdotool mousemove 900 100
      if abaixo "$h" "$outra"; then
        echo "ok on the desktop: below an ordinary window, also after a click on it"
      else
        falhar "on the desktop, a click on it brings it above the other window"
      fi
    fi

    # The strip fades once the pointer is gone.
    esperar gadget_em 287x210+202+500
    wmctrl -k on
    sleep 0.5
    if escondida "$outra" && de_volta "$h" && gadget_em 287x210+202+500; then
      echo "ok SempreVisivel=$topo: show-desktop leaves the gadget on view"
    else
      falhar "SempreVisivel=$topo: show-desktop left the host $(estado_wm "$h"), shape '$(visivel)'"
    fi
    wmctrl -k off
    sleep 0.5

    if [ "$topo" = 0 ]; then
      xdotool windowactivate "$outra"
      sleep 0.3
      clicar_icone || falhar "no tray icon to click"
      if esperar ativa "$h" && esperar acima "$h" "$outra"; then
        echo "ok a click on the tray icon brings it in front"
      else
        falhar "after a click on the tray icon: above the other window: $(acima "$h" "$outra" && echo yes || echo no), $(xprop -root _NET_ACTIVE_WINDOW)"
      fi
      xdotool windowactivate "$outra"
      if esperar abaixo "$h" "$outra"; then
        echo "ok back on the desktop once another window is activated"
      else
        falhar "still in front after another window was activated"
      fi
      esperar gadget_em 287x210+202+500 || falhar "the view takes the pointer at '$(visivel)'"
    fi
    parar_gadget
  done
}

# Red, green and blue of one pixel of the screen.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null \
    | sed -n '2s/.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

caso_faixa() {
  escrever_ini PosX=100 PosY=100
  iniciar_gadget
  esperar gadget_em "$VISTA" || { falhar "the gadget did not show"; relatar; return; }
  xdotool mousemove 300 200
  esperar gadget_em "$VISTA_COM_FAIXA" || { falhar "no strip on hover"; return; }
  # The calendar's button of the summary view's date, then a day picked with
  # the pointer out of the gadget, over the calendar.
  xdotool mousemove 310 298 click 1
  sleep 0.5
  xdotool mousemove 330 420
  sleep 0.2
  xdotool key Left Return
  sleep 2.5
  if gadget_em "$VISTA"; then
    echo "ok: the strip faded after a day was picked"
  else
    falhar "the strip stays after a day was picked: $(visivel)"
  fi

  # ">" on yesterday goes to today, where it is disabled under the pointer.
  xdotool mousemove 323 298
  sleep 0.5
  xdotool click 1
  sleep 1
  local r g b
  read -r r g b <<<"$(pixel 319 292)"
  if [ -n "$b" ] && [ $((b - r)) -lt 20 ]; then
    echo "ok: the disabled > is at rest ($r,$g,$b)"
  else
    falhar "the disabled > keeps its hover face ($r,$g,$b)"
  fi
}

caso_icone() {
  trayer --edge bottom >"$tmp/trayer.log" 2>&1 &
  pids+=($!)
  escrever_ini PosX=100 PosY=100
  iniciar_gadget
  esperar gadget_em "$VISTA" || { falhar "the gadget did not show"; relatar; return; }
  esperar test -n "$(icone_na_bandeja)" || { falhar "no tray icon in trayer"; return; }
  local antes depois
  antes=$(icone_na_bandeja)
  # "<": the day before, which refreshes the gadget.
  xdotool mousemove 223 298 click 1
  sleep 2
  depois=$(icone_na_bandeja)
  if [ "$antes" = "$depois" ]; then
    echo "ok: the same tray icon $antes after a refresh"
  else
    falhar "the tray icon changed at a refresh: '$antes' then '$depois'"
  fi
}

# The program's shown top-level window other than the host (one the window
# manager manages: it has a WM_STATE).
janela_dialogo() {
  local h w
  h=$(host)
  for w in $(xdotool search --onlyvisible --pid "$gadget" 2>/dev/null); do
    [ "$w" != "$h" ] && xprop -id "$w" WM_STATE | grep -q 'window state: Normal' \
      && { echo "$w"; return; }
  done
  return 1
}

caso_nomes() {
  escrever_ini PosX=100 PosY=100
  iniciar_gadget
  esperar gadget_em "$VISTA" || { falhar "the gadget did not show"; relatar; return; }
  local titulo
  titulo=$(xprop -id "$(host)" _NET_WM_NAME | cut -d= -f2-)
  [ "$titulo" = ' "Vendas por Hora"' ] && echo "ok: host titled$titulo" || falhar "host titled$titulo"

  local tile nome janela
  for tile in "$SOBRE_Y about" "$CONFIG_Y dialog"; do
    read -r y nome <<<"$tile"
    apontar_tile "$y" || { falhar "$nome: no strip"; continue; }
    xdotool click 1
    if ! esperar janela_dialogo >/dev/null; then falhar "$nome: nothing opened"; continue; fi
    janela=$(janela_dialogo)
    if xprop -id "$janela" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; then
      echo "ok $nome: off the taskbar"
    else
      falhar "$nome: on the taskbar ($(xprop -id "$janela" _NET_WM_STATE))"
    fi
    xdotool key Escape
    esperar sh -c "! xwininfo -id $janela 2>/dev/null | grep -q IsViewable" \
      || falhar "$nome: Escape did not close it"
  done
}

# Drags the gadget whose view stands at (x, y) by the move tile, by (dx, dy).
arrastar_de() {
  local x=$1 y=$2 dx=$3 dy=$4 passo
  xdotool mousemove 900 700
  sleep 0.2
  xdotool mousemove $((x + 100)) $((y + 100))
  esperar gadget_em "315x210+$x+$y" || return 1
  xdotool mousemove $((x + TILE_X - 202)) $((y + MOVER_Y - 100))
  sleep 0.3
  xdotool mousedown 1
  for passo in 1 2 3 4 5; do
    xdotool mousemove $((x + TILE_X - 202 + dx * passo / 5)) $((y + MOVER_Y - 100 + dy * passo / 5))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
}

# md5 of a piece of the screen, WxH+X+Y.
recorte() {
  import -window root -crop "$1" -depth 8 rgb:- 2>/dev/null | md5sum
}

caso_trava() {
  escrever_ini PosX=100 PosY=100
  iniciar_gadget
  esperar gadget_em "$VISTA" || { falhar "the gadget did not show"; relatar; return; }
  local trava=$VANTREL_GADGETS_INI.lock quem=(env)
  # As root, the lock is held by another user of the file's group.
  if [ "$(id -u)" -eq 0 ] && "$(dirname "$0")/../../scripts/usuarios-teste.sh"; then
    chgrp vphgrupo "$tmp" "$VANTREL_GADGETS_INI" "$trava" && chmod 0750 "$tmp" \
      && chmod 0660 "$VANTREL_GADGETS_INI" "$trava" \
      || { falhar "cannot share the file with the group"; return; }
    quem=(setpriv --reuid=vphoutro --regid=vphoutro --groups=vphgrupo --inh-caps=-all)
  fi
  # One process that holds the lock until it is killed.
  "${quem[@]}" bash -c 'exec 9>>"$1" && flock -x 9 && exec sleep 60' _ "$trava" >/dev/null 2>&1 &
  local dono=$!
  pids+=("$dono")
  esperar sh -c "! flock -n '$trava' true" || { falhar "the other user got no lock"; return; }
  # Where the second drag will bring the view: the desktop before it.
  local onde=287x210+252+380 antes
  antes=$(recorte "$onde")

  arrastar_de 202 100 -50 100 || { falhar "first drag: no strip"; return; }
  local solto=$SECONDS
  # The save waits for the lock; meanwhile the strip fades and the gadget
  # drags and repaints.
  xdotool mousemove 900 700
  if esperar gadget_em 287x210+152+200 && [ $((SECONDS - solto)) -le 4 ]; then
    echo "ok: the strip faded $((SECONDS - solto)) s after the release, the save waiting"
  else
    falhar "the strip did not fade while the save waited: $(visivel)"
  fi
  arrastar_de 152 200 100 180 || falhar "second drag during the wait: no strip"
  xdotool mousemove 900 700
  # Before the ten seconds after which a save that held the window would give up.
  if esperar gadget_em "$onde" && [ "$(recorte "$onde")" != "$antes" ] \
    && [ $((SECONDS - solto)) -le 9 ]; then
    import -window root "$tmp/durante.png"
    echo "ok: dragged again and repainted at $onde $((SECONDS - solto)) s after the first release"
  else
    falhar "no second drag or no repaint while the save waited: $(visivel)"
  fi
  kill -0 "$dono" 2>/dev/null || falhar "the lock was let go before the checks ended"
  kill "$dono"
  local salvo
  esperar sh -c "tr -d '\r' <'$VANTREL_GADGETS_INI' | grep -qx PosY=380"
  salvo=$(tr -d '\r' <"$VANTREL_GADGETS_INI" | grep -E '^Pos[XY]=' | tr '\n' ' ')
  if [ "$salvo" = "PosX=150 PosY=380 " ] && [ ! -s "$VANTREL_MESSAGE_LOG" ]; then
    echo "ok: once the lock was free both saves landed, the last one last: $salvo"
  else
    falhar "saved '$salvo'"; relatar
  fi
}

"caso_$caso"
exit $falhas
