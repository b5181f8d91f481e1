#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QObject;

namespace plataforma {

// The primary screen's size in logical pixels.
QSize TamanhoTela();

// The part of each screen that windows may use (without panels), the primary
// screen's first, in logical pixels of the desktop.
QList<QRect> AreasDisponiveis();

// The available area that holds most of janela, or the primary one when
// none holds any of it.
QRect AreaDisponivelDe(const QRect& janela);

// The pointer's position on the screen in logical pixels.
QPoint PosicaoCursor();

// Runs aoMudar, once for the changes that one pass of the event loop brings,
// whenever a screen is added, removed or moved or its available area
// changes, for as long as contexto lives.
void AoMudarTelas(QObject* contexto, std::function<void()> aoMudar);

} // namespace plataforma
