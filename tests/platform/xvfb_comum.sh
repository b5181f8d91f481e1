# Sourced by the X11 checks: starts Xvfb on a free display and a window
# manager on it ($GERENCIADOR: openbox, the default, or xfwm4), with every
# file in a temporary folder, and stops them on exit.
# Exits 77 (skipped) when a needed program is missing.
gerenciador=${GERENCIADOR:-openbox}
extras_gerenciador=()
[ "$gerenciador" = xfwm4 ] && extras_gerenciador=(dbus-daemon)
for programa in Xvfb "$gerenciador" "${extras_gerenciador[@]}" xprop xwininfo "$@"; do
  command -v "$programa" >/dev/null || { echo "SKIP: $programa is not installed"; exit 77; }
done

source "$(dirname "${BASH_SOURCE[0]}")/processos_comum.sh"

Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$tmp/tela" 2>"$tmp/xvfb.log" &
pids+=($!)
esperar test -s "$tmp/tela" || { echo "Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/tela")"
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
# The display number comes as the server starts listening; wait until it
# answers before the window manager tries it (-noreset: the probe's leaving
# must not reset the server under the window manager's connection).
esperar xdpyinfo >/dev/null 2>&1 || { echo "Xvfb does not answer on $DISPLAY"; cat "$tmp/xvfb.log"; exit 1; }

if [ "$gerenciador" = xfwm4 ]; then
  # Its settings come from xfconfd, which a session bus of its own starts
  # and which ends with that bus.
  dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$tmp/bus.endereco" 4>"$tmp/bus.pid" \
    || { echo "no session bus for xfwm4"; exit 1; }
  pids+=("$(cat "$tmp/bus.pid")")
  DBUS_SESSION_BUS_ADDRESS=$(cat "$tmp/bus.endereco") NO_AT_BRIDGE=1 \
    xfwm4 --compositor=off >"$tmp/$gerenciador.log" 2>&1 &
else
  openbox --sm-disable >"$tmp/$gerenciador.log" 2>&1 &
fi
pids+=($!)
esperar sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
  || { echo "$gerenciador did not start"; cat "$tmp/$gerenciador.log"; exit 1; }
