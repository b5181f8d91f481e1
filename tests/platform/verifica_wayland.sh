#!/usr/bin/env bash
# A Wayland-only session (weston's headless backend, WAYLAND_DISPLAY set, no
# DISPLAY): the program starts there and stays up, and says on stderr what
# Wayland does not let it do. Exits 77 (skipped) without weston.
# Usage: verifica_wayland.sh PROGRAM DATABASE
set -uo pipefail
programa_gadget=$1 banco=$2
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }

source "$(dirname "$0")/processos_comum.sh"

unset DISPLAY
export XDG_RUNTIME_DIR=$tmp HOME=$tmp
weston --backend=headless-backend.so --socket=vph-wayland --idle-time=0 >"$tmp/weston.log" 2>&1 &
pids+=($!)
esperar test -S "$tmp/vph-wayland" || { echo "weston did not start"; cat "$tmp/weston.log"; exit 1; }
export WAYLAND_DISPLAY=vph-wayland

programa=$programa_gadget
source "$(dirname "$0")/gadget_comum.sh"
escrever_ini
iniciar_gadget

avisou() { grep -q 'Wayland' "$tmp/gadget.err"; }
if ! esperar avisou; then
  echo "FAIL: no word on stderr about Wayland"
  relatar
  exit 1
fi
sleep 2
if ! kill -0 "$gadget" 2>/dev/null; then
  wait "$gadget"
  echo "FAIL: the program ended with code $?"
  relatar
  exit 1
fi
if [ -s "$VANTREL_MESSAGE_LOG" ]; then
  echo "FAIL: a message at start-up"
  relatar
  exit 1
fi
echo "ok: running on Wayland; it said: $(cat "$tmp/gadget.err")"
