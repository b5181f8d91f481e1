#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the value marks of a chart's points go: each box near its point,
// above or below it, clear of the boxes placed before it, of the obstacles
// (axis labels, title) and inside the area. Points are taken left to right.
// A box that finds no free place is an empty QRectF: that mark is left out
// rather than drawn over another.
QList<QRectF> PosicionaMarcas(const QList<QPointF>& Pontos, const QList<QSizeF>& Tamanhos,
                              const QRectF& Area, const QList<QRectF>& Obstaculos);
