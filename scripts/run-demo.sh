#!/usr/bin/env bash
# Runs the gadget on a demo retail database and configuration of its own.
# Everything the gadget keeps goes under demo/ (the XDG folders point there):
# nothing outside the project folder changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
demo=$root/demo
mkdir -p "$demo"

# The start-at-log-on entries (for this user and for all users), the
# single-instance lock, the database engine's lock files and any cache.
sessao=${XDG_RUNTIME_DIR:-}
export XDG_CONFIG_HOME=$demo/config XDG_CONFIG_DIRS=$demo/xdg XDG_CACHE_HOME=$demo/cache \
  XDG_RUNTIME_DIR=$demo/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# What the session keeps in its own runtime folder stays reachable there: the
# Wayland socket (a relative name is looked for in the runtime folder) and the
# session bus (looked for there when no address is given).
if [ -n "$sessao" ]; then
  case ${WAYLAND_DISPLAY:-/} in
    /*) ;;
    *) export WAYLAND_DISPLAY=$sessao/$WAYLAND_DISPLAY ;;
  esac
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -S "$sessao/bus" ]; then
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$sessao/bus
  fi
fi

# The sales are dated relative to today, so the database is made anew each run.
"$build/tests/fixtures/vph-demo-db" "$demo/loja.fdb"

export VANTREL_GADGETS_INI="$demo/ConfigGadGet.Ini"
# The demo's file is its own and its password the embedded engine's: a
# database server running on this machine, which would refuse that login,
# is not asked for it.
export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1
if [ ! -f "$VANTREL_GADGETS_INI" ]; then
  printf '%s\r\n' \
    '[Configuracoes]' \
    'LocRem=L' \
    'Servidor=' \
    'Protocolo=0' \
    "CaminhoBanco=$demo/loja.fdb" \
    'Usuario=SYSDBA' \
    'Senha=masterkey' \
    '' \
    '[GadGetMetaVendas]' \
    'Meta=150000' \
    'Periodo=2' > "$VANTREL_GADGETS_INI"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/shell/vendas-por-hora"
fi

# No display: run under an X server of its own, on a display number it finds
# free, take a screenshot, and stop.
gadget= xvfb=
trap 'kill $gadget $xvfb 2>/dev/null || true' EXIT
rm -f "$XDG_RUNTIME_DIR/tela"
Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$XDG_RUNTIME_DIR/tela" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  [ -s "$XDG_RUNTIME_DIR/tela" ] && break
  sleep 0.1
done
[ -s "$XDG_RUNTIME_DIR/tela" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$XDG_RUNTIME_DIR/tela")
"$build/shell/vendas-por-hora" &
gadget=$!
sleep "${DEMO_SECONDS:-6}"
import -window root "$demo/screenshot.png"
echo "Screenshot of the running gadget: $demo/screenshot.png"
