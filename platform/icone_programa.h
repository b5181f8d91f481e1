#pragma once

#include <QIcon>

namespace plataforma {

// The program's own icon, at 16, 32, 48 and 256 pixels.
QIcon IconePrograma();

} // namespace plataforma
