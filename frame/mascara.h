#pragma once

#include <QtGlobal>

class QWidget;
class QRegion;

// The host window takes the pointer only over what the gadget paints: its
// input mask is the union of the visible rectangles that draw something
// (content views, strip buttons), in the host's coordinates.

// The region the host should take input in now, in device pixels at Escala
// per logical pixel: the pixels its rectangles paint opaque enough (see
// TRetangulo::PixelsPintados).
QRegion RegiaoVisivel(const QWidget* host, qreal Escala = 1);

// Applies it at once: without a compositor as the window's shape (at its own
// pixel ratio), with one as the part that takes the pointer only, the alpha
// channel drawing the rest; when nothing is visible, a host that is
// transparent for input (an empty mask would make the whole window take
// clicks). From the first call on, the host also follows its rectangles and
// compositors that start or stop (see agenda_mascara.h).
void AtualizaMascara(QWidget* host);
