#!/usr/bin/env bash
# Starts the local Firebird server on 127.0.0.1:3050 unless something listens there.
set -euo pipefail
listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }
listening && exit 0
sudo_=""
[ "$(id -u)" -eq 0 ] || sudo_=sudo
$sudo_ setsid /usr/sbin/firebird >/dev/null 2>&1 < /dev/null &
for _ in $(seq 1 50); do
  listening && exit 0
  sleep 0.2
done
echo "The Firebird server did not start on 127.0.0.1:3050" >&2
exit 1
