#pragma once

#include <QString>

namespace plataforma {

// The longest start of texto of at most maximo UTF-16 units that ends between
// two characters as the user sees them: a surrogate pair or a letter with its
// combining marks is never split.
QString CortarTexto(const QString& texto, qsizetype maximo);

} // namespace plataforma
