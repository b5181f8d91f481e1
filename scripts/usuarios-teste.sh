#!/usr/bin/env bash
# Makes, when missing, the ordinary users that tests act as (needs root):
#   vphteste  the shop's user: scripts/como-usuario-comum.sh runs tests as it
#   vphoutro  another user of the same machine
# Both belong to the group vphgrupo, as two users who share a configuration
# file in a group folder. Several tests may run it at once.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "$0: needs root, to make the test users; skipped" >&2
  exit 77
fi
grupo=vphgrupo

# Another test may be making the same user or group, or editing the user
# database: try again for a while.
tentar() {
  local _
  for _ in $(seq 50); do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  "$@"
}

getent group "$grupo" >/dev/null || tentar sh -c "getent group $grupo >/dev/null || groupadd --system $grupo"
for usuario in vphteste vphoutro; do
  id "$usuario" >/dev/null 2>&1 || tentar sh -c "id $usuario >/dev/null 2>&1 || useradd --system \
    --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin $usuario"
  id -nG "$usuario" | tr ' ' '\n' | grep -qx "$grupo" || tentar usermod -a -G "$grupo" "$usuario"
done
