#!/usr/bin/env bash
# Runs a command as an ordinary desktop user would run the gadget: the user
# vphteste (made when missing by scripts/usuarios-teste.sh; here it acts in no
# group but its own), a private HOME and
# runtime folder made for this run and removed after it, and the caller's
# other environment. Needs root; CTest runs the start-up, save, crash, CSV and
# embedded-engine tests through it (vph_test_as_user in tests/CMakeLists.txt).
#
# Usage: scripts/como-usuario-comum.sh [--servidor=ligado|parado] COMMAND [ARGS...]
#   ligado (default): the local Firebird server on 127.0.0.1:3050 answers.
#   parado: the gadget is pointed at a local server that does not answer
#     (VANTREL_SERVIDOR_LOCAL), as on a machine whose server is stopped; the
#     shared server itself keeps running for the other tests.
# The user cannot read the Debian package's SYSDBA password file: the password
# goes to the test fixtures in VPH_SENHA_SYSDBA. Without root it does nothing
# and exits 77, which CTest counts as skipped.
set -euo pipefail
usuario=vphteste
servidor=ligado
case ${1:-} in
  --servidor=ligado|--servidor=parado) servidor=${1#--servidor=}; shift ;;
  --servidor=*) echo "unknown server mode: $1" >&2; exit 2 ;;
esac
[ $# -gt 0 ] || { echo "usage: $0 [--servidor=ligado|parado] COMMAND [ARGS...]" >&2; exit 2; }
if [ "$(id -u)" -ne 0 ]; then
  echo "$0: needs root, to act as the user $usuario; skipped" >&2
  exit 77
fi

id "$usuario" >/dev/null 2>&1 || "$(dirname "$0")/usuarios-teste.sh"

casa=$(mktemp -d "${TMPDIR:-/tmp}/vphteste-casa.XXXXXX")
trap 'rm -rf "$casa"' EXIT
mkdir -m 0700 "$casa/run"
chown -R "$usuario:" "$casa"
chmod 0700 "$casa"

senha=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' /etc/firebird/3.0/SYSDBA.password 2>/dev/null || true)
extra=()
# Port 9 (discard): nothing listens there, so a connection is refused at once.
[ "$servidor" = parado ] && extra+=(VANTREL_SERVIDOR_LOCAL=127.0.0.1/9)

status=0
setpriv --reuid="$usuario" --regid="$usuario" --clear-groups --inh-caps=-all \
  env -u XDG_SESSION_ID -u FIREBIRD_LOCK -u VANTREL_GADGETS_INI \
  HOME="$casa" USER="$usuario" LOGNAME="$usuario" XDG_RUNTIME_DIR="$casa/run" \
  XDG_CONFIG_HOME="$casa/.config" VPH_SENHA_SYSDBA="$senha" "${extra[@]}" \
  "$@" || status=$?
exit "$status"
