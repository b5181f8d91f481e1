#pragma once

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

class QGraphicsOpacityEffect;

// The gadget's rectangle: a fill (colour, gradient or tiled image), rounded
// corners, an outline, and an opacity that applies to everything inside it.
// A new rectangle is 50 x 50, filled 0xFFE0E0E0 with a 1-pixel black outline.
class TRetangulo : public QWidget {
    Q_OBJECT

public:
    explicit TRetangulo(QWidget* parent);

    // Colour or gradient fill; gradients in QGradient::ObjectMode span the
    // rectangle. Replaces an image fill.
    void SetPreenchimento(const QBrush& preenchimento);

    // Image fill, tiled from the top-left corner. Replaces the brush fill.
    void SetImagem(const QImage& imagem);
    const QImage& Imagem() const { return FImagem; }

    // Outline; a width of 0 or a fully transparent colour draws none.
    void SetContorno(const QColor& cor, qreal largura = 1);
    void SetSemContorno() { SetContorno(Qt::transparent, 0); }
    qreal LarguraContorno() const { return FLarguraContorno; }

    // Paints in place of what lies beneath instead of over it, in whole device
    // pixels: of rectangles that overlap on purpose (the strip's tiles) each
    // shared pixel then shows the one on top once, whatever the scale puts
    // between device pixels. For rectangles without rounded corners.
    void SetSubstituiOQueCobre(bool substitui);

    void SetRaios(qreal raioX, qreal raioY);

    // 0 (invisible) to 1 (opaque); children are drawn with it too.
    void setOpacity(qreal opacidade);
    qreal Opacity() const { return FOpacidade; }

    // True when the rectangle itself puts any pixel on screen.
    bool PintaAlgo() const;

    // The painted shape, in the rectangle's own coordinates.
    QPainterPath Forma() const;

    // The device pixels, at Escala per logical pixel, that the rectangle
    // paints at least three quarters opaque: its shape as a window shows it
    // without a compositor, where anything less opaque comes out dark.
    QRegion PixelsPintados(qreal Escala) const;

protected:
    void paintEvent(QPaintEvent* evento) override;
    void moveEvent(QMoveEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

private:
    void Pinta(QPainter& pintor) const;
    void MudouForma();

    QBrush FPreenchimento;
    QImage FImagem;
    mutable QPixmap FImagemTela; // FImagem as a pixmap, made on first paint
    QColor FCorContorno;
    qreal FLarguraContorno;
    qreal FRaioX = 0;
    qreal FRaioY = 0;
    qreal FOpacidade = 1;
    bool FSubstitui = false;
    QGraphicsOpacityEffect* FEfeito = nullptr;
    // PixelsPintados by scale, until the shape changes.
    mutable QHash<qreal, QRegion> FPixels;
};
