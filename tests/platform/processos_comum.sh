# Sourced by the desktop checks: a temporary folder, the processes started
# into pids (stopped, then killed, on exit), and a poll.
tmp=$(mktemp -d)
pids=()
limpar() {
  local p _
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  # A program that does not answer SIGTERM within 2 s is killed.
  for _ in $(seq 20); do
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && break; done || break
    sleep 0.1
  done
  for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap limpar EXIT

# Polls a command for up to 10 s.
esperar() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
