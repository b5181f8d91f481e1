#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace plataforma {

// The primary screen's size in logical pixels.
QSize TamanhoTela();

// The part of each screen that windows may use (without panels), the primary
// screen's first, in logical pixels of the desktop.
QList<QRect> AreasDisponiveis();

// The rectangle that holds every screen.
QRect AreaDeTodasAsTelas();

// The available area that holds most of janela, or the primary one when
// none holds any of it.
QRect AreaDisponivelDe(const QRect& janela);

// The pointer's position on the screen in logical pixels.
QPoint PosicaoCursor();

} // namespace plataforma
