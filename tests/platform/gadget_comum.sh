# Sourced by the checks that run the real program, once an X server (or a
# Wayland compositor) runs: the program gets a copy of the check database, a
# configuration file, message log and autostart folders of its own, and is
# stopped on exit by the caller's trap (its pid is in pids).
# Needs: programa (the program's path), banco (the database to copy), tmp.
cp "$banco" "$tmp/loja.fdb"
# The embedded engine's lock files of its own: the shared ones under /tmp are
# also the local server's, and a busy server there can hold an attach up for
# minutes.
mkdir -p "$tmp/firebird"
export FIREBIRD_LOCK=$tmp/firebird
# The local server is not asked: the copy is for the embedded engine alone.
export VANTREL_SERVIDOR_LOCAL=127.0.0.1/1
export VANTREL_GADGETS_INI=$tmp/ConfigGadGet.Ini VANTREL_MESSAGE_LOG=$tmp/mensagens.log
export XDG_CONFIG_DIRS=$tmp/xdg XDG_CONFIG_HOME=$tmp/config
unset XDG_SESSION_ID QT_QPA_PLATFORM

# escrever_ini [LINE...]: a complete configuration; the lines go to the
# gadget's section.
escrever_ini() {
  printf '%s\r\n' '[Configuracoes]' 'LocRem=L' 'Servidor=' 'Protocolo=0' \
    "CaminhoBanco=$tmp/loja.fdb" 'Usuario=SYSDBA' "Senha=${senha-masterkey}" '' \
    '[GadGetVendHora]' "$@" >"$VANTREL_GADGETS_INI"
}

iniciar_gadget() {
  "$programa" >>"$tmp/gadget.out" 2>>"$tmp/gadget.err" &
  gadget=$!
  pids+=("$gadget")
}

# The host window: the program's window titled with the gadget's title.
host() {
  xdotool search --all --pid "$gadget" --name '^Vendas por Hora$' 2>/dev/null | head -n1
}

# What of the host takes the pointer, as WxH+X+Y on the screen: the gadget's
# visible view, and the strip while it shows.
visivel() {
  local h
  h=$(host)
  [ -n "$h" ] && xwininfo -shape -id "$h" 2>/dev/null | awk '
    /Absolute upper-left X:/ {hx = $4}
    /Absolute upper-left Y:/ {hy = $4}
    /Window shape extents:/ {
      # WxH+X+Y, X and Y possibly negative ("+-298")
      match($4, /^[0-9]+x[0-9]+/); tam = substr($4, 1, RLENGTH)
      resto = substr($4, RLENGTH + 2); n = index(resto, "+")
      printf "%s+%d+%d\n", tam, hx + substr(resto, 1, n - 1), hy + substr(resto, n + 1)
    }'
}

# Whether the gadget shows, with its view where the argument says (anywhere
# when none is given).
# The host must be shown (the gadget's start hides and shows it once more).
gadget_em() {
  local v
  v=$(visivel)
  [ -n "$v" ] && { [ -z "${1-}" ] || [ "$v" = "$1" ]; } || return 1
  xwininfo -id "$(host)" | grep -q IsViewable
}

relatar() {
  echo "--- program's stderr:"; cat "$tmp/gadget.err" 2>/dev/null
  echo "--- messages:"; cat "$VANTREL_MESSAGE_LOG" 2>/dev/null
}

# Stops the program, killing it when SIGTERM is not enough within 3 s.
parar_gadget() {
  kill "$gadget" 2>/dev/null
  local _
  for _ in $(seq 30); do
    kill -0 "$gadget" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$gadget" 2>/dev/null
  wait "$gadget" 2>/dev/null
}
