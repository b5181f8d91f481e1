#pragma once

#include <QString>

// What the program registers with the user's session, without a window:
// every system provides these in its own files; this tree holds the
// freedesktop ones, XDG autostart entries and flock.
namespace plataforma {

// Registers programa to start at every log-on under the name nome: for all
// users where that may be written, else for this user. A registration of the
// same name is replaced, except this user's own "do not start", which is
// kept as the user left it. Throws TErro when nothing may be written where
// something should be.
void GravarInicioAutomatico(const QString& nome, const QString& programa);

// Removes every registration named nome that exists and may be removed,
// except this user's own "do not start".
void RemoverInicioAutomatico(const QString& nome);

// Takes the lock named nome for this session, held until the process ends.
// False when another process holds it; true otherwise, also when no lock can
// be made at all (the program then runs unprotected).
bool TravarInstanciaUnica(const QString& nome);

} // namespace plataforma
