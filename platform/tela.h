#pragma once

#include <QPoint>
#include <QSize>

namespace plataforma {

// The primary screen's size in logical pixels.
QSize TamanhoTela();

// The pointer's position on the screen in logical pixels.
QPoint PosicaoCursor();

} // namespace plataforma
