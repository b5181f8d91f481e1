# Sourced by the benchmark scripts: builds the given targets into
# ${BENCH_BUILD_DIR:-build-bench} (configured once, Release), makes the
# benchmark database there once unless BENCH_DB names one, and finds the
# local server's SYSDBA password. Sets root, build, banco and senha.
# Usage: source "$(dirname "$0")/preparar_bench.sh" TARGET...
versao_banco=1 # raise when gerar_banco_bench.cpp or dados_bench.h change
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target vph-bench-db "$@" -j 2 >/dev/null
banco=${BENCH_DB:-$build/vendas-bench-v$versao_banco.fdb}
if [ ! -f "$banco" ]; then
  echo "making $banco (once)..."
  "$build/bench/vph-bench-db" "$banco.novo"
  mv "$banco.novo" "$banco"
fi
senha=$(cat /etc/firebird/3.0/SYSDBA.password 2>/dev/null | sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p')
senha=${senha:-masterkey}
