#!/usr/bin/env bash
# Fuzzes the configuration file code with clang and libFuzzer, for the given
# time or number of executions, and prints the executions and findings. Exits
# 1 on a finding.
# Targets: "arquivo" (bench/fuzz_ini.cpp: load, save and reload through a real
# file) and "memoria" (bench/fuzz_ini_memoria.cpp: the INI text engine alone,
# in memory, far faster).
# Usage: bench/fuzz_ini.sh [seconds=30] [build folder=build-fuzz] [target=arquivo]
#        [executions=unbounded]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
segundos=${1:-30}
saida=$(mkdir -p "${2:-$root/build-fuzz}" && cd "${2:-$root/build-fuzz}" && pwd)
clangxx=${CLANGXX:-clang++}
alvoNome=${3:-arquivo}
execucoesMaximas=${4:--1}
# The file target runs under the address and undefined-behaviour sanitizers.
# The in-memory one trades them for speed: optimised, with Qt's and the
# standard library's own bounds checks, on inputs of a few lines; only the
# engine is instrumented for coverage, since libFuzzer's cost grows with every
# instrumented edge and comparison and the checking code needs no guidance.
case $alvoNome in
  arquivo)
    principal=bench/fuzz_ini.cpp
    opcoes=(-O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    guiados=()
    tamanhoMaximo=8192 ;;
  memoria)
    principal=bench/fuzz_ini_memoria.cpp
    opcoes=(-O2 -DQT_FORCE_ASSERTS -D_GLIBCXX_ASSERTIONS)
    guiados=(config/sintaxe_ini.cpp config/texto_ini.cpp config/texto_ini_montagem.cpp
      config/utf16_ini.cpp)
    tamanhoMaximo=256 ;;
  *) echo "unknown target: $alvoNome (arquivo or memoria)" >&2; exit 2 ;;
esac

fontes=(
  config/arquivo_atomico.cpp
  config/arquivo_ini.cpp
  config/config.cpp
  config/escrita_direta.cpp
  config/escrita_no_lugar.cpp
  config/sintaxe_ini.cpp
  config/texto_ini.cpp
  config/texto_ini_montagem.cpp
  config/trava_arquivo.cpp
  config/utf16_ini.cpp
  platform/caminhos.cpp
  platform/erro_sistema.cpp
  platform/pasta_privada.cpp
  platform/seams.cpp
  platform/sinais.cpp
  base/texto.cpp
  tests/support/propriedades_ini.cpp
  "$principal"
)
dependencias=("${fontes[@]}" config/*.h base/texto.h platform/*.h base/erro.h
  tests/support/propriedades_ini.h bench/fuzz_ini.sh)

alvo=$saida/fuzz_ini_$alvoNome
cd "$root"
if [ ! -x "$alvo" ] || [ -n "$(find "${dependencias[@]}" -newer "$alvo" 2>/dev/null)" ]; then
  echo "building $alvo"
  objetos=$saida/objetos_$alvoNome
  rm -rf "$objetos" && mkdir -p "$objetos"
  lista=()
  for fonte in "${fontes[@]}"; do
    cobertura=()
    if [ ${#guiados[@]} -eq 0 ] || [[ " ${guiados[*]} " == *" $fonte "* ]]; then
      cobertura=(-fsanitize=fuzzer-no-link)
    fi
    objeto=$objetos/$(echo "$fonte" | tr / _).o
    # shellcheck disable=SC2046
    "$clangxx" -std=c++20 -g -fPIC -fno-omit-frame-pointer "${opcoes[@]}" "${cobertura[@]}" \
      -I"$root" $(pkg-config --cflags Qt6Core) -c "$fonte" -o "$objeto"
    lista+=("$objeto")
  done
  # shellcheck disable=SC2046
  "$clangxx" -fsanitize=fuzzer "${opcoes[@]}" "${lista[@]}" $(pkg-config --libs Qt6Core) -o "$alvo.novo"
  mv "$alvo.novo" "$alvo"
fi

corpus=$saida/corpus_$alvoNome
achados=$saida/achados_$alvoNome
mkdir -p "$corpus" "$achados"
antes=$(find "$achados" -type f | wc -l)
registro=$saida/fuzz_ini_$alvoNome.log
status=0
"$alvo" "$corpus" "$root/bench/fuzz_ini_seeds" \
  -dict="$root/bench/fuzz_ini.dict" -max_total_time="$segundos" -runs="$execucoesMaximas" -max_len="$tamanhoMaximo" \
  -timeout=10 -print_final_stats=1 -artifact_prefix="$achados/" >"$registro" 2>&1 || status=$?

execucoes=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
porSegundo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro")
cobertura=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9a-zA-Z]+' "$registro" | tail -n 1 || true)
novos=$(( $(find "$achados" -type f | wc -l) - antes ))
echo "fuzz_ini $alvoNome: ${segundos}s at most, executions: ${execucoes:-?}, per second: ${porSegundo:-?}, ${cobertura:-no coverage line}"
echo "fuzz_ini $alvoNome: findings: $novos (in $achados), log: $registro"
if [ "$status" -ne 0 ] || [ "$novos" -ne 0 ]; then
  grep -E 'ERROR|property failed|SUMMARY|Test unit written' "$registro" | head -n 20 || tail -n 30 "$registro"
  exit 1
fi
