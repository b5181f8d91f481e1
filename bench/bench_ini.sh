#!/usr/bin/env bash
# Figures of the configuration file code on a huge file (6 500 000 short lines,
# about 206 MB; this gadget's section last): the start's load, a save, the
# same save from an event loop as the gadget makes it (the loop's longest
# stall), and, as root, a save in place by another user of the file's group.
# Each prints its time and the peak of resident memory it added, also as a
# multiple of the file's size. Builds into build-bench/ (Release).
# Usage: bench/bench_ini.sh [lines=6500000]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
linhas=${1:-6500000}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target vph-bench-ini -j "$(nproc)" >/dev/null
programa=$build/bench/vph-bench-ini

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export VANTREL_GADGETS_INI=$tmp/ConfigGadGet.Ini XDG_RUNTIME_DIR=$tmp/run
mkdir -m 0700 "$XDG_RUNTIME_DIR"
"$programa" gerar "$linhas"
echo "configuration file: $linhas lines, $(stat -c %s "$VANTREL_GADGETS_INI") bytes, Release"
"$programa" carregar
"$programa" salvar
"$programa" espera

# In place: the file belongs to one user of the group and another saves it.
if [ "$(id -u)" -eq 0 ] && "$root/scripts/usuarios-teste.sh"; then
  chown vphteste:vphgrupo "$tmp" "$VANTREL_GADGETS_INI"
  chmod 0770 "$tmp"
  chmod 0660 "$VANTREL_GADGETS_INI"
  chown vphoutro "$XDG_RUNTIME_DIR"
  antes=$(stat -c %i "$VANTREL_GADGETS_INI")
  printf 'in place: '
  setpriv --reuid=vphoutro --regid=vphoutro --groups=vphgrupo --inh-caps=-all "$programa" salvar
  [ "$(stat -c %i "$VANTREL_GADGETS_INI")" = "$antes" ] || echo "  (the file was replaced, not written in place)"
fi
