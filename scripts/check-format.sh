#!/usr/bin/env bash
# Fails, naming the files, when a C++ file differs from what clang-format makes of
# it (.clang-format at the root). Without arguments it checks every tracked file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ $# -gt 0 ]; then
  arquivos=("$@")
else
  mapfile -t arquivos < <(git ls-files '*.cpp' '*.h')
fi
fora=()
for f in "${arquivos[@]}"; do
  clang-format-14 --dry-run -Werror "$f" >/dev/null 2>&1 || fora+=("$f")
done
if [ ${#fora[@]} -gt 0 ]; then
  printf 'Not formatted (clang-format-14 -i FILE):\n' >&2
  printf '  %s\n' "${fora[@]}" >&2
  exit 1
fi
