#!/usr/bin/env bash
# Under Xvfb with a window manager that honours the hint, a host-like window
# taken off the taskbar carries _NET_WM_STATE_SKIP_TASKBAR and
# _NET_WM_STATE_SKIP_PAGER and is shown again; also after a second call and
# after switching always-on-top on, which makes a new native window.
# Usage: verifica_sem_barra_tarefas.sh PATH_TO_janela_auxiliar
set -uo pipefail
janela=$1
source "$(dirname "$0")/xvfb_comum.sh"

falhas=0
for modo in nenhuma uma duas topo; do
  "$janela" "$modo" >"$tmp/$modo.id" 2>"$tmp/$modo.log" &
  pids+=($!)
  if ! esperar test -s "$tmp/$modo.id"; then
    echo "FAIL $modo: the window did not start"; cat "$tmp/$modo.log"; falhas=1; continue
  fi
  id=$(head -n1 "$tmp/$modo.id")
  tem_estados() {
    estado=$(xprop -id "$id" _NET_WM_STATE WM_STATE 2>&1)
    grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$estado" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$estado" \
      && grep -q 'window state: Normal' <<<"$estado"
  }
  if [ "$modo" = nenhuma ]; then
    # The control: an ordinary window stays on the taskbar.
    esperar sh -c "xprop -id $id WM_STATE | grep -q 'window state: Normal'"
    if tem_estados; then echo "FAIL $modo: skips the taskbar without being asked"; falhas=1; continue; fi
  elif ! esperar tem_estados; then
    echo "FAIL $modo: $estado"; falhas=1; continue
  fi
  echo "ok $modo: $(xprop -id "$id" _NET_WM_STATE)"
done
exit $falhas
