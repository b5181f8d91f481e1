#!/usr/bin/env bash
# Two monitors: an Xorg server with the dummy video driver and two RandR
# outputs, the primary on the right of the other, under openbox with a panel
# (trayer) along the primary's top. The gadget's default place is on the
# primary monitor, below the panel; a place saved on either monitor is kept;
# a place that no monitor shows any more gives way to the default place.
# Exits 77 (skipped) when Xorg, its dummy driver or root rights are missing.
# Usage: verifica_monitores.sh PROGRAM DATABASE
set -uo pipefail
programa_gadget=$1 banco=$2
for programa in Xorg openbox trayer xrandr xprop xwininfo xdotool; do
  command -v "$programa" >/dev/null || { echo "SKIP: $programa is not installed"; exit 77; }
done
[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] || { echo "SKIP: no dummy video driver"; exit 77; }
[ "$(id -u)" = 0 ] || { echo "SKIP: Xorg runs as root here"; exit 77; }

source "$(dirname "$0")/processos_comum.sh"

cat >"$tmp/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "placa"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "tela"
  Device "placa"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 768
  EndSubSection
EndSection
CONF

# The first free display from :74 to :79.
for n in 74 75 76 77 78 79; do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xorg ":$n" -config "$tmp/xorg.conf" -noreset -nolisten tcp -sharevts -novtswitch \
    -logfile "$tmp/xorg.log" >"$tmp/xorg.out" 2>&1 &
  xorg=$!
  pids+=("$xorg")
  export DISPLAY=":$n"
  if esperar sh -c 'xprop -root >/dev/null 2>&1'; then break; fi
  kill "$xorg" 2>/dev/null
  unset DISPLAY
done
[ -n "${DISPLAY-}" ] || { echo "FAIL: Xorg did not start"; cat "$tmp/xorg.out"; exit 1; }

# DUMMY1 on the left, the primary DUMMY0 on its right.
xrandr --addmode DUMMY1 1024x768
dois_monitores() {
  xrandr --output DUMMY1 --mode 1024x768 --pos 0x0 --output DUMMY0 --mode 1024x768 --pos 1024x0 --primary
}
dois_monitores
export HOME=$tmp XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
pids+=($!)
esperar sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
  || { echo "openbox did not start"; cat "$tmp/openbox.log"; exit 1; }
trayer --edge top --align right --widthtype pixel --width 200 --height 30 --monitor primary \
  --SetDockType true --SetPartialStrut true >"$tmp/trayer.log" 2>&1 &
pids+=($!)
esperar sh -c 'xprop -root _NET_WORKAREA | grep -q "0, 30, 2048, 738"' \
  || { echo "the panel holds no room: $(xprop -root _NET_WORKAREA)"; exit 1; }

programa=$programa_gadget
source "$(dirname "$0")/gadget_comum.sh"

falhas=0
# Monitors PosX PosY where-the-view-shows
casos=(
  "dois - - 287x210+1728+50"      # default: the primary's right edge, 20 below the panel
  "dois 200 300 287x210+302+300"  # on the left monitor
  "dois 1300 300 287x210+1402+300"
  # The left monitor is gone: the primary, now alone, is at (0, 0); the
  # place saved on its right is on no monitor.
  "um 1300 300 287x210+704+50"
)
for c in "${casos[@]}"; do
  read -r monitores x y esperado <<<"$c"
  if [ "$monitores" = um ]; then
    xrandr --output DUMMY1 --off
  fi
  if [ "$x" = - ]; then escrever_ini; else escrever_ini "PosX=$x" "PosY=$y"; fi
  iniciar_gadget
  if esperar gadget_em "$esperado"; then
    echo "ok $monitores monitor(s), PosX=$x PosY=$y: view at $esperado"
  else
    echo "FAIL $monitores monitor(s), PosX=$x PosY=$y: view at '$(visivel)', not $esperado"
    relatar
    falhas=1
  fi
  parar_gadget
done

# While the gadget runs on the primary monitor, the one on its left goes
# away: the primary moves to x = 0 and the saved place is on no monitor any
# more, so the view goes to the default place. The file keeps the place the
# user chose, and when the monitor comes back the view goes back there.
dois_monitores
escrever_ini PosX=1300 PosY=300
iniciar_gadget
salvo() { tr -d '\r' <"$VANTREL_GADGETS_INI" | grep -E '^Pos[XY]=' | tr '\n' ' '; }
if ! esperar gadget_em 287x210+1402+300; then
  echo "FAIL two monitors, PosX=1300 PosY=300: view at '$(visivel)'"; relatar; falhas=1
else
  xrandr --output DUMMY1 --off
  if esperar gadget_em 287x210+704+50 && [ "$(salvo)" = "PosX=1300 PosY=300 " ]; then
    echo "ok the left monitor went away: view at the default place, the file keeps $(salvo)"
  else
    echo "FAIL the left monitor went away: view at '$(visivel)', not 287x210+704+50; file: $(salvo)"
    falhas=1
  fi
  dois_monitores
  if esperar gadget_em 287x210+1402+300; then
    echo "ok the monitor came back: view back at the saved place"
  else
    echo "FAIL the monitor came back: view at '$(visivel)', not 287x210+1402+300"; falhas=1
  fi
fi
parar_gadget
exit $falhas
