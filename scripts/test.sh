#!/usr/bin/env bash
# Installs, builds and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check-format.sh"
"$root/scripts/build.sh"
"$root/scripts/start-firebird.sh"
cd "${BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2
