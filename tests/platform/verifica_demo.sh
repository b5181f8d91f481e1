#!/usr/bin/env bash
# scripts/run-demo.sh changes nothing outside the project folder: run on a
# copy of the project (install and build left out) with the user's folders
# (home, XDG config, config dirs, runtime and cache) in a temporary place,
# once with no display (its own Xvfb and a screenshot) and once on a display;
# afterwards nothing there is new or changed, and the gadget did register
# itself, under demo/.
# Usage: verifica_demo.sh BUILD_DIR
set -uo pipefail
build=$1
for programa in Xvfb import xdpyinfo; do
  command -v "$programa" >/dev/null || { echo "SKIP: $programa is not installed"; exit 77; }
done
source "$(dirname "$0")/processos_comum.sh"
fonte=$(cd "$(dirname "$0")/../.." && pwd)

projeto=$tmp/projeto
mkdir -p "$projeto/scripts"
cp "$fonte/scripts/run-demo.sh" "$projeto/scripts/"
printf '#!/bin/sh\nexit 0\n' >"$projeto/scripts/setup.sh"
cp "$projeto/scripts/setup.sh" "$projeto/scripts/build.sh"
chmod +x "$projeto/scripts/"*.sh

# The user's machine as the demo would find it.
export HOME=$tmp/casa XDG_CONFIG_HOME=$tmp/casa/.config XDG_CACHE_HOME=$tmp/casa/.cache \
  XDG_CONFIG_DIRS=$tmp/etc-xdg XDG_RUNTIME_DIR=$tmp/run BUILD_DIR=$build DEMO_SECONDS=4
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_CONFIG_DIRS" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset VANTREL_GADGETS_INI VANTREL_MESSAGE_LOG FIREBIRD_LOCK XDG_SESSION_ID QT_QPA_PLATFORM \
  WAYLAND_DISPLAY DISPLAY
# The demo's database is a local file: the embedded engine opens it.
export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1
entrada=$projeto/demo/xdg/autostart/vendas-por-hora.desktop

falhas=0
falhar() { echo "FAIL $*"; falhas=1; }
# What changed outside the project since the mark, as paths under $tmp.
mudancas() {
  find "$tmp" -newer "$tmp/marca" ! -path "$projeto" ! -path "$projeto/*" ! -path "$tmp/marca" \
    ! -path "$tmp/tela*" ! -path "$tmp/demo.log" ! -path "$tmp" | sed "s|^$tmp/||"
}
marcar() {
  touch "$tmp/marca"
  sleep 1.1
}

echo "no display"
marcar
"$projeto/scripts/run-demo.sh" >"$tmp/demo.log" 2>&1 || { falhar "the demo ended with $?"; cat "$tmp/demo.log"; }
[ -s "$projeto/demo/screenshot.png" ] || falhar "no screenshot"
[ -f "$entrada" ] || falhar "the gadget did not register itself under demo/"
fora=$(mudancas)
[ -z "$fora" ] || falhar "changed outside the project: $(echo $fora)"

echo "on a display"
rm -f "$entrada"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/tela" >"$tmp/tela.log" 2>&1 &
pids+=($!)
esperar test -s "$tmp/tela" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$tmp/tela")
esperar xdpyinfo >/dev/null 2>&1 || { echo "Xvfb does not answer on $DISPLAY"; exit 1; }
marcar
"$projeto/scripts/run-demo.sh" >"$tmp/demo.log" 2>&1 &
demo=$!
pids+=($demo)
esperar test -f "$entrada" || esperar test -f "$entrada" || falhar "the gadget did not register itself under demo/"
kill "$demo"
wait "$demo" 2>/dev/null
fora=$(mudancas)
[ -z "$fora" ] || falhar "changed outside the project: $(echo $fora)"

[ $falhas = 0 ] && echo "PASS"
exit $falhas
