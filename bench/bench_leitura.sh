#!/usr/bin/env bash
# Figures of the gadget's reading on the benchmark database (2 000 000 orders,
# 100 000 on the day), with the embedded engine and through the local server:
# one refresh against isql-fb attaching and running the same statement (goal:
# at most 1.0), the UI thread's longest stall during refreshes (goal: 50 ms),
# also on a copy without the order-key index, the refreshes of today with
# each comparison (none, the week before with the past days kept, the mean
# of four weeks read anew; goals: at most 1.05 and 2.0 times none), and the
# resident memory of the running gadget next to a bare Qt Charts window,
# without and with comparison and goal, on one 1280 x 800 screen and on two
# 3840 x 2160 screens (goals: at most 1.25 times the bare window on the
# server path, at most 1 MiB more with comparison and goal, and less than
# 1 MiB more on the larger desktop).
# BENCH_BUILD_DIR: a configured build (default build-bench, Release);
# BENCH_DB: an existing benchmark database (default: made once in the build).
set -euo pipefail
# shellcheck source=bench/preparar_bench.sh
source "$(dirname "$0")/preparar_bench.sh" vph-bench-view vph-bench-base vendas-por-hora

tmp=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$tmp"' EXIT
ms_desde() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
ini() { # locrem servidor arquivo [lines of the gadget's section]
  printf '[Configuracoes]\r\nLocRem=%s\r\nServidor=%s\r\nProtocolo=0\r\nCaminhoBanco=%s\r\nUsuario=SYSDBA\r\nSenha=%s\r\n[GadGetVendHora]\r\n%b' \
    "$1" "$2" "$3" "$senha" "${4:-}" > "$tmp/ConfigGadGet.Ini"
}
vista() { # args for vph-bench-view
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    VANTREL_GADGETS_INI="$tmp/ConfigGadGet.Ini" VANTREL_MESSAGE_LOG="$tmp/mensagens.log" \
    XDG_RUNTIME_DIR="$tmp" XDG_CONFIG_HOME="$tmp/config" XDG_CONFIG_DIRS="$tmp/xdg" \
    "$build/bench/vph-bench-view" "$@" 2>/dev/null
}
isql_mediana() { # database name
  local tempos=() inicio
  for _ in 1 2 3 4 5; do
    inicio=$(date +%s%N)
    isql-fb -q -u SYSDBA -p "$senha" "$1" -i "$tmp/consulta.sql" >/dev/null
    tempos+=("$(ms_desde "$inicio")")
  done
  printf '%s\n' "${tempos[@]}" | sort -n | sed -n 3p
}
compara() { # title, database name for isql
  local saida isql atualizacao
  saida=$(vista "$tmp/consulta.sql") || { echo "$saida"; cat "$tmp/mensagens.log" 2>/dev/null; exit 1; }
  echo "$saida" | sed 's/^/  /'
  isql=$(isql_mediana "$2")
  echo "  isql-fb attach + same statement, median of 5: $isql ms"
  atualizacao=$(sed -n 's/^refresh (IniciarGadget), median of [0-9]*: \([0-9.]*\) ms.*/\1/p' <<<"$saida")
  awk -v a="$atualizacao" -v i="$isql" -v t="$1" \
    'BEGIN { r = a / i; printf "  %s: refresh / isql-fb = %.2f (goal: at most 1.0) %s\n", t, r, (r <= 1 ? "ok" : "SLOWER") }'
}
rss() { # program and args: resident memory after it settles, in MiB
  "$@" >/dev/null 2>&1 &
  local p=$!
  pids+=("$p")
  sleep 8
  awk '/VmRSS/ { r = $2 } /VmHWM/ { h = $2 } END { printf "%.1f %.1f", r / 1024, h / 1024 }' "/proc/$p/status"
  kill "$p" 2>/dev/null || true
  wait "$p" 2>/dev/null || true
}

echo "gadget reading, $(basename "$banco"), $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")"
# A local file goes to the local server first, which opens any file here:
# the embedded engine's figures are taken with no server to ask.
embutido() { export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1; }
pelo_servidor() { unset VANTREL_SERVIDOR_LOCAL; }

# The server may hold the file it served: the embedded engine gets a copy
# of its own.
cp "$banco" "$tmp/embutido.fdb"
# The statement for isql-fb; one untimed run warms the page cache.
printf 'SET SQL DIALECT 1;\nSELECT COUNT(*) FROM PEDIDOC;\n' > "$tmp/consulta.sql"
isql-fb -q -u SYSDBA -p "$senha" "$tmp/embutido.fdb" -i "$tmp/consulta.sql" >/dev/null
echo "embedded engine:"
embutido
ini L "" "$tmp/embutido.fdb"
compara "embedded" "$tmp/embutido.fdb"
echo "local server (127.0.0.1):"
pelo_servidor
ini R 127.0.0.1 "$banco"
compara "server" "127.0.0.1:$banco"

echo "copy without the order-key index, embedded engine (the reading is cut at the limit):"
copia=$tmp/sem-indice.fdb
cp "$banco" "$copia"
printf 'SET SQL DIALECT 1;\nDROP INDEX PEDIDOC_PEDIDO;\nCOMMIT;\n' | isql-fb -q -u SYSDBA -p "$senha" "$copia" >/dev/null
ini L "" "$copia"
embutido
vista "$tmp/consulta-copia.sql" 0 | sed 's/^/  /'

# Resident memory of the gadget and of the bare window on one desktop: the
# server path's figure is kept in servidor[$2].
declare -A servidor
memoria() { # description key
  local base pico mem caminho
  read -r base pico <<<"$(rss "$build/bench/vph-bench-base")"
  echo "  $1: bare Qt Charts window, one line series: $base MiB (peak $pico MiB)"
  local sem variante secao execucao
  for caminho in embedded server; do
    sem=
    for variante in "without comparison and goal" "with the mean of 4 weeks and a goal"; do
      if [ -z "$sem" ]; then secao='Comparacao=0\r\n'; else secao='Comparacao=4\r\nMetaDia=5000000\r\n'; fi
      if [ $caminho = embedded ]; then
        embutido; ini L "" "$tmp/embutido.fdb" "$secao"
      else
        pelo_servidor; ini R 127.0.0.1 "$banco" "$secao"
      fi
      execucao=$tmp/run-$caminho-${sem:+com}
      rm -rf "$execucao" "$execucao.log"
      mkdir -m 700 "$execucao"
      read -r mem pico <<<"$(env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb VANTREL_GADGETS_INI="$tmp/ConfigGadGet.Ini" \
        VANTREL_MESSAGE_LOG="$execucao.log" XDG_RUNTIME_DIR="$execucao" \
        XDG_CONFIG_HOME="$tmp/config" XDG_CONFIG_DIRS="$tmp/xdg" \
        bash -c "$(declare -f rss); rss '$build/bench/vph-bench-view' '$tmp/consulta.sql' memoria")"
      awk -v m="$mem" -v b="$base" -v n="$caminho" -v p="$pico" -v v="$variante" \
        'BEGIN { printf "    gadget, %s path, %s: %s MiB = %.2f x the bare window (aim on the server path: 1.25); peak during the refresh %s MiB\n", n, v, m, m / b, p }'
      if [ -s "$execucao.log" ]; then sed 's/^/      box: /' "$execucao.log"; fi
      if [ -z "$sem" ]; then
        sem=$mem
        [ $caminho = server ] && servidor[$2]=$mem
      else
        awk -v c="$mem" -v s="$sem" \
          'BEGIN { d = c - s; printf "    with - without: %+.1f MiB (goal: at most +1.0) %s\n", d, (d <= 1 ? "ok" : "MORE") }'
      fi
    done
  done
}

echo "resident memory after 8 s, the gadget on the benchmark's day:"
# Both desktops on one Xorg server with the dummy video driver (root only),
# else one screen under Xvfb.
if [ "$(id -u)" = 0 ] && command -v Xorg >/dev/null && [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
  cat >"$tmp/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "placa"
  Driver "dummy"
  VideoRam 131072
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
    Virtual 7680 2160
  EndSubSection
EndSection
CONF
  Xorg -displayfd 3 -config "$tmp/xorg.conf" -noreset -nolisten tcp -sharevts -novtswitch \
    -logfile "$tmp/xorg.log" 3>"$tmp/tela" >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do [ -s "$tmp/tela" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$tmp/tela")"
  xrandr --output DUMMY0 --mode 1280x800 --pos 0x0 --primary
  memoria "one 1280 x 800 screen" pequena
  # 3840 x 2160 at 20 Hz, within the dummy driver's clock.
  xrandr --newmode 3840x2160 218.25 3840 4024 4416 4992 2160 2163 2168 2188 -hsync +vsync
  xrandr --addmode DUMMY0 3840x2160
  xrandr --addmode DUMMY1 3840x2160
  xrandr --output DUMMY0 --mode 3840x2160 --pos 0x0 --primary --output DUMMY1 --mode 3840x2160 --pos 3840x0
  memoria "two 3840 x 2160 screens side by side ($(xdpyinfo | awk '/dimensions:/ {print $2}'))" grande
  awk -v p="${servidor[pequena]}" -v g="${servidor[grande]}" \
    'BEGIN { d = g - p; printf "  gadget on the server path grows by %.1f MiB from one 1280 x 800 screen to two 3840 x 2160 (goal: under 1 MiB) %s\n", d, (d < 1 ? "ok" : "MORE") }'
else
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/tela" >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do [ -s "$tmp/tela" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$tmp/tela")"
  memoria "one 1280 x 800 screen (Xvfb)" pequena
  echo "  two 3840 x 2160 screens: not measured (needs root and Xorg's dummy video driver)"
fi
