#pragma once

#include <QString>

namespace plataforma {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else ~/.config. An empty or relative value is ignored, as the
// freedesktop base directory rules ask.
QString DiretorioConfiguracaoUsuario();

// The shared configuration file: $VANTREL_GADGETS_INI when set, else
// TempVUX/ConfigGadGet.Ini under DiretorioConfiguracaoUsuario().
QString CaminhoArquivoIni();

// Start-at-log-on folders: for all users, autostart/ under the first folder
// of $XDG_CONFIG_DIRS (/etc/xdg by default); for this user, autostart/ under
// DiretorioConfiguracaoUsuario().
QString DiretorioInicioAutomaticoGeral();
QString DiretorioInicioAutomaticoUsuario();

// Folder of per-session lock files: $XDG_RUNTIME_DIR, else a per-user
// folder under /tmp.
QString DiretorioLock();

// Where the database server of this machine is asked for a local file, as the
// host (or host/port) part of a database name: $VANTREL_SERVIDOR_LOCAL when
// set, else "localhost", the client library's own choice.
QString ServidorLocal();

} // namespace plataforma
