#!/usr/bin/env bash
# Refreshes the gadget 2 000 times (or as many as given) against the local
# database server and prints memory, descriptors and attachments before,
# during and after. Exits 1 when a refresh fails or one of them grows.
# Usage: bench/soak.sh [refreshes=2000]   (build folder: ${BUILD_DIR:-build})
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/start-firebird.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$build" --target vph-soak -j "$(nproc)" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/vph-soak" "${1:-2000}"
