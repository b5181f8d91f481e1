#!/usr/bin/env bash
# Figures of vendas-por-hora-csv over a period by branch on the benchmark
# database (2 000 000 orders over 366 days, 3 branches), with the embedded
# engine and through the local server when one answers: the command over
# every day of the database with --por-filial --detalhado against isql-fb
# attaching and running the same statement in the same run (goal: at most
# 1.2), and the command's peak resident memory for 365 days and for 3 660
# days next to one day (goal: within 5 MB).
# BENCH_BUILD_DIR: a configured build (default build-bench, Release);
# BENCH_DB: an existing benchmark database (default: made once in the build).
set -euo pipefail
# shellcheck source=bench/preparar_bench.sh
source "$(dirname "$0")/preparar_bench.sh" vph-bench-sql-periodo vph-bench-medir vendas-por-hora-csv
csv=$build/sales_per_hour/vendas-por-hora-csv
medir=$build/bench/vph-bench-medir

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export VANTREL_GADGETS_INI=$tmp/ConfigGadGet.Ini XDG_CONFIG_HOME=$tmp/config
ini() { # locrem servidor arquivo
  printf '[Configuracoes]\r\nLocRem=%s\r\nServidor=%s\r\nProtocolo=0\r\nCaminhoBanco=%s\r\nUsuario=SYSDBA\r\nSenha=%s\r\n' \
    "$1" "$2" "$3" "$senha" > "$VANTREL_GADGETS_INI"
}
mediana() { sort -n | sed -n 3p; }

# Every day of the database: DIA_BENCH (15/03/2024) and the 365 before it.
de=16/03/2023
ate=15/03/2024
periodo=(--de "$de" --ate "$ate" --por-filial --detalhado --tempo-limite 0)
"$build/bench/vph-bench-sql-periodo" 2023-03-16 2024-03-15 > "$tmp/consulta.sql"

compara() { # title, database name for isql
  local comando=() isql=() m
  for _ in 1 2 3 4 5; do
    m=$("$medir" "$csv" "${periodo[@]}")
    comando+=("${m% *}")
    m=$("$medir" "$(command -v isql-fb)" -q -u SYSDBA -p "$senha" "$2" -i "$tmp/consulta.sql" 2>/dev/null)
    isql+=("${m% *}")
  done
  local c i
  c=$(printf '%s\n' "${comando[@]}" | mediana)
  i=$(printf '%s\n' "${isql[@]}" | mediana)
  echo "  vendas-por-hora-csv ${periodo[*]}, median of 5: $c ms"
  echo "  isql-fb attach + same statement, median of 5: $i ms"
  awk -v a="$c" -v b="$i" -v t="$1" \
    'BEGIN { r = a / b; printf "  %s: command / isql-fb = %.2f (goal: at most 1.2) %s\n", t, r, (r <= 1.2 ? "ok" : "SLOWER") }'
}
pico() { # args of the command: the median peak resident memory of 3 runs, KiB
  local m r=()
  for _ in 1 2 3; do
    m=$("$medir" "$csv" "$@")
    r+=("${m#* }")
  done
  printf '%s\n' "${r[@]}" | sort -n | sed -n 2p
}
memoria() {
  local um ano dez
  um=$(pico --de "$ate" --ate "$ate" --por-filial --detalhado --tempo-limite 0)
  ano=$(pico --de 17/03/2023 --ate "$ate" --por-filial --detalhado --tempo-limite 0)
  dez=$(pico --de 09/03/2014 --ate "$ate" --por-filial --detalhado --tempo-limite 0)
  awk -v u="$um" -v a="$ano" -v d="$dez" 'BEGIN {
    printf "  peak resident memory: 1 day %.1f MiB, 365 days %.1f MiB, 3660 days %.1f MiB\n", u / 1024, a / 1024, d / 1024
    printf "  365 days - 1 day = %.2f MB (goal: within 5 MB) %s\n", (a - u) * 1024 / 1e6, ((a - u) * 1024 <= 5e6 ? "ok" : "TOO MUCH")
    printf "  3660 days - 1 day = %.2f MB\n", (d - u) * 1024 / 1e6 }'
}

echo "vendas-por-hora-csv over a period by branch, $(basename "$banco"), $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")"
# The server may hold the file it served: the embedded engine gets a copy.
cp "$banco" "$tmp/embutido.fdb"
isql-fb -q -u SYSDBA -p "$senha" "$tmp/embutido.fdb" -i "$tmp/consulta.sql" >/dev/null 2>&1
export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1
ini L "" "$tmp/embutido.fdb"
echo "$de to $ate, 3 branches: $("$csv" "${periodo[@]}" | wc -l) lines of output"
echo "embedded engine:"
compara "embedded" "$tmp/embutido.fdb"
memoria
if (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; then
  echo "local server (127.0.0.1):"
  unset VANTREL_SERVIDOR_LOCAL
  ini R 127.0.0.1 "$banco"
  isql-fb -q -u SYSDBA -p "$senha" "127.0.0.1:$banco" -i "$tmp/consulta.sql" >/dev/null 2>&1
  compara "server" "127.0.0.1:$banco"
  memoria
else
  echo "no server on 127.0.0.1:3050: the server's figures are left out"
fi
