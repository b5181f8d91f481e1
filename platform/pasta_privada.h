#pragma once

#include <QString>

namespace plataforma {

// A folder of this user's alone, nome under the lock folder (DiretorioLock),
// made when missing. Empty when it cannot be had: a folder of that name that
// belongs to someone else, or that others may enter, is never used.
QString PastaPrivada(const QString& nome);

// The same folder when it already exists; nothing is made.
QString PastaPrivadaExistente(const QString& nome);

} // namespace plataforma
