#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the value marks of a chart's points go: each box right above or right
// below its point, over it, clear of the boxes placed before it, of the
// obstacles (axis labels, title) and inside the area. Points are taken left
// to right. A box that has no free place next to its point is an empty
// QRectF: that mark is left out rather than drawn away from its point, where
// it would read as another point's, or over another.
QList<QRectF> PosicionaMarcas(const QList<QPointF>& Pontos, const QList<QSizeF>& Tamanhos,
                              const QRectF& Area, const QList<QRectF>& Obstaculos);
