#pragma once

#include <QIcon>

namespace plataforma {

// The program's own icon, at 16, 32, 48 and 256 pixels. Needs the application
// object the first time.
QIcon IconePrograma();

} // namespace plataforma
