#!/usr/bin/env bash
# Fuzzes the configuration file code: builds bench/fuzz_ini.cpp with clang,
# libFuzzer and the address and undefined-behaviour sanitizers, runs it for the
# given time and prints the executions and findings. Exits 1 on a finding.
# Usage: bench/fuzz_ini.sh [seconds=30] [build folder=build-fuzz]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
segundos=${1:-30}
saida=$(mkdir -p "${2:-$root/build-fuzz}" && cd "${2:-$root/build-fuzz}" && pwd)
clangxx=${CLANGXX:-clang++}

fontes=(
  config/arquivo_atomico.cpp
  config/arquivo_ini.cpp
  config/config.cpp
  config/texto_ini.cpp
  platform/seams.cpp
  platform/texto.cpp
  tests/config/propriedades_ini.cpp
  bench/fuzz_ini.cpp
)
dependencias=("${fontes[@]}" config/*.h platform/texto.h platform/seams.h platform/erro.h
  tests/config/propriedades_ini.h bench/fuzz_ini.sh)

alvo=$saida/fuzz_ini
cd "$root"
if [ ! -x "$alvo" ] || [ -n "$(find "${dependencias[@]}" -newer "$alvo" 2>/dev/null)" ]; then
  echo "building $alvo"
  # shellcheck disable=SC2046
  "$clangxx" -std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" $(pkg-config --cflags Qt6Core) "${fontes[@]}" $(pkg-config --libs Qt6Core) \
    -o "$alvo.novo"
  mv "$alvo.novo" "$alvo"
fi

corpus=$saida/corpus
achados=$saida/achados
mkdir -p "$corpus" "$achados"
antes=$(find "$achados" -type f | wc -l)
registro=$saida/fuzz_ini.log
status=0
"$alvo" "$corpus" "$root/bench/fuzz_ini_seeds" \
  -dict="$root/bench/fuzz_ini.dict" -max_total_time="$segundos" -max_len=8192 \
  -timeout=10 -print_final_stats=1 -artifact_prefix="$achados/" >"$registro" 2>&1 || status=$?

execucoes=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
porSegundo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro")
cobertura=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9a-zA-Z]+' "$registro" | tail -n 1 || true)
novos=$(( $(find "$achados" -type f | wc -l) - antes ))
echo "fuzz_ini: ${segundos}s, executions: ${execucoes:-?}, per second: ${porSegundo:-?}, ${cobertura:-no coverage line}"
echo "fuzz_ini: findings: $novos (in $achados), log: $registro"
if [ "$status" -ne 0 ] || [ "$novos" -ne 0 ]; then
  grep -E 'ERROR|property failed|SUMMARY|Test unit written' "$registro" | head -n 20 || tail -n 30 "$registro"
  exit 1
fi
