#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// The least of a view that must lie on the desktop for the user to grab it.
inline constexpr int LADO_MINIMO_VISIVEL = 40;
// Saved positions are taken within this distance of the origin, so that the
// frame's geometry never overflows.
inline constexpr int LIMITE_POSICAO = 1 << 20;

// Whether at least LADO_MINIMO_VISIVEL x LADO_MINIMO_VISIVEL pixels of vista
// lie on one of the areas.
bool VistaAlcancavel(const QRect& vista, const QList<QRect>& areas);

// valor brought within LIMITE_POSICAO of zero.
int PosicaoLimitada(int valor);

// Where a dialog largura pixels wide goes over the content rectangle
// conteudo of a frame whose top-left corner is at gadget: centred on it
// horizontally, its top on the frame's top (on conteudo's top when both are
// as wide).
QPoint PosicaoSobreConteudo(QPoint gadget, const QRect& conteudo, int largura);

// Where janela goes to lie on area: left, right, top, then bottom, so that
// one larger than the area ends on its right and bottom edges.
QPoint PosicaoDentroDaArea(const QRect& janela, const QRect& area);
