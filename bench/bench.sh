#!/usr/bin/env bash
# Figures of the sales-per-hour gadget on a large local retail database
# (2 000 000 orders, 100 000 on the day shown): time from the process's start
# to the first chart painted, one refresh, and isql-fb attaching and running
# the same statement on the same file. The refresh should take no more than
# twice isql-fb's time. Builds into build-bench/ (Release); the database is
# made once and kept there.
set -euo pipefail

command -v isql-fb >/dev/null || { echo "isql-fb not found (package firebird3.0-utils)" >&2; exit 1; }
# shellcheck source=bench/preparar_bench.sh
source "$(dirname "$0")/preparar_bench.sh" vph-bench-view

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '[Configuracoes]\r\nLocRem=L\r\nServidor=\r\nProtocolo=0\r\nCaminhoBanco=%s\r\nUsuario=SYSDBA\r\nSenha=masterkey\r\n' \
  "$banco" > "$tmp/ConfigGadGet.Ini"
ms_desde() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# One untimed run, so that both sides find the file in the page cache.
consulta=$tmp/consulta.sql
printf 'SET SQL DIALECT 1;\nSELECT COUNT(*) FROM PEDIDOC;\n' > "$consulta"
isql-fb -q -u SYSDBA -p masterkey "$banco" -i "$consulta" >/dev/null

echo "sales-per-hour gadget, $(basename "$banco"), Release, offscreen"
# The embedded engine on both sides: a local server is not asked.
saida=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen VANTREL_SERVIDOR_LOCAL=127.0.0.1/1 \
  VANTREL_GADGETS_INI="$tmp/ConfigGadGet.Ini" VANTREL_MESSAGE_LOG="$tmp/mensagens.log" \
  XDG_RUNTIME_DIR="$tmp" XDG_CONFIG_HOME="$tmp/config" XDG_CONFIG_DIRS="$tmp/xdg" \
  VPH_BENCH_INICIO_NS=$(date +%s%N) "$build/bench/vph-bench-view" "$consulta" 2>/dev/null) || {
  echo "$saida"; cat "$tmp/mensagens.log" 2>/dev/null; exit 1; }
echo "$saida"

tempos=()
for _ in 1 2 3 4 5; do
  inicio=$(date +%s%N)
  isql-fb -q -u SYSDBA -p masterkey "$banco" -i "$consulta" >/dev/null
  tempos+=("$(ms_desde "$inicio")")
done
isql=$(printf '%s\n' "${tempos[@]}" | sort -n | sed -n 3p)
echo "isql-fb attach + same statement, median of 5: $isql ms"
atualizacao=$(sed -n 's/^refresh (IniciarGadget), median of [0-9]*: \([0-9.]*\) ms.*/\1/p' <<<"$saida")
awk -v a="$atualizacao" -v i="$isql" \
  'BEGIN { r = a / i; printf "refresh / isql-fb: %.2f (goal: at most 2) %s\n", r, (r <= 2 ? "ok" : "TOO SLOW") }'
