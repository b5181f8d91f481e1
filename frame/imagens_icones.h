#pragma once

#include <QImage>
#include <QSizeF>

// The family's image store: the menu strip's button tiles and the logo, drawn
// in code at the screen's pixel density.
class TImagensIcones {
public:
    // Escala: device pixels per logical pixel.
    explicit TImagensIcones(qreal Escala);

    // 23 x 23 strip tiles: grey with a darker translucent edge and a white
    // symbol. The strip overlaps its tiles by 2 pixels: every tile below the
    // close button has no top edge, and is drawn in place of what it covers.
    QImage imgIcoFechar; // X; top corners rounded
    QImage imgIcoMax; // frame with an arrow pointing out
    QImage imgIcoMin; // frame with an arrow pointing in
    QImage imgIcoConfig; // wrench
    QImage imgIcoAbout; // question mark
    QImage imgIcoMover; // 3 x 4 grip of dots; bottom corners rounded

    QImage imgLogoVUX; // 53 x 17 wordmark
};

// The logo drawn at Tamanho logical pixels, at Escala device pixels each.
QImage LogoVUX(const QSizeF& Tamanho, qreal Escala);

// The one store of the program, made on first use.
TImagensIcones& ImagensIcones();
