#pragma once

namespace plataforma {

// SIGTERM, SIGINT and SIGHUP (log-off, shut-down, kill) end the program at
// any moment. Call first in main, before any thread starts: the signals are
// blocked in every thread and taken by one thread of ours with sigwait, so
// the handlers that the Firebird client installs at its first attachment
// never see them. A program that has not ended shortly after a signal (stuck
// in a wait that no event loop turns) is ended without its clean-ups.
void TomarSinais();

// Once the application object exists: a signal ends its event loops.
void EncerrarComSinais();

// Whether a signal asked the program to end.
bool Encerrando();

} // namespace plataforma
