#!/usr/bin/env bash
# Runs the gadget on a demo retail database and configuration of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
demo=$root/demo
mkdir -p "$demo"

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

# No display: run under Xvfb, take a screenshot, and stop.
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$gadget" "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$build/shell/vendas-por-hora" &
gadget=$!
sleep "${DEMO_SECONDS:-6}"
DISPLAY=$display import -window root "$demo/screenshot.png"
echo "Screenshot of the running gadget: $demo/screenshot.png"
