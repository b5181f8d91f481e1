#!/usr/bin/env bash
# Under Xvfb with a window manager that honours the hint, a host-like window
# taken off the taskbar carries _NET_WM_STATE_SKIP_TASKBAR and
# _NET_WM_STATE_SKIP_PAGER and is shown again; also after a second call and
# after switching always-on-top on, which makes a new native window.
# Usage: skip_taskbar_check.sh PATH_TO_janela_auxiliar
set -uo pipefail
janela=$1
for programa in Xvfb openbox xprop; do
  command -v "$programa" >/dev/null || { echo "SKIP: $programa is not installed"; exit 77; }
done

tmp=$(mktemp -d)
pids=()
limpar() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap limpar EXIT

# Polls a command for up to 10 s.
esperar() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/tela" 2>"$tmp/xvfb.log" &
pids+=($!)
esperar test -s "$tmp/tela" || { echo "Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/tela")"
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp

openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
pids+=($!)
esperar sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
  || { echo "openbox did not start"; cat "$tmp/openbox.log"; exit 1; }

falhas=0
for modo in nenhuma uma duas topo; do
  QT_QPA_PLATFORM=xcb "$janela" "$modo" >"$tmp/$modo.id" 2>"$tmp/$modo.log" &
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
