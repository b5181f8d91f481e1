#pragma once

namespace plataforma {

// Ends the event loop normally on SIGTERM, SIGINT or SIGHUP (log-off, shut-down,
// kill), so that the connection is closed and the process exits. The Firebird
// client installs handlers of its own that keep the process alive, so call
// this after the first attachment.
void EncerrarComSinais();

} // namespace plataforma
