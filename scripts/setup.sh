#!/usr/bin/env bash
# Installs the Debian packages the project needs, once.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$here/packages.txt")
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_=""
[ "$(id -u)" -eq 0 ] || sudo_=sudo
echo "Installing: ${missing[*]}"
$sudo_ apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq "${missing[@]}" >/dev/null
