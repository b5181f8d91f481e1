#include "frame/retangulo.h"

#include "frame/mascara.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

TRetangulo::TRetangulo(QWidget* parent)
    : QWidget(parent),
      FPreenchimento(QColor::fromRgba(0xFFE0E0E0)),
      FCorContorno(QColor::fromRgba(0xFF000000)),
      FLarguraContorno(1)
{
    resize(50, 50);
}

void TRetangulo::setPreenchimento(const QBrush& preenchimento)
{
    FPreenchimento = preenchimento;
    FImagem = QImage();
    FImagemTela = QPixmap();
    update();
    AgendaMascara(window());
}

void TRetangulo::setImagem(const QImage& imagem)
{
    FImagem = imagem;
    FImagemTela = QPixmap();
    FPreenchimento = QBrush();
    update();
    AgendaMascara(window());
}

void TRetangulo::setContorno(const QColor& cor, qreal largura)
{
    FCorContorno = cor;
    FLarguraContorno = largura;
    update();
    AgendaMascara(window());
}

void TRetangulo::setRaios(qreal raioX, qreal raioY)
{
    FRaioX = raioX;
    FRaioY = raioY;
    update();
    AgendaMascara(window());
}

void TRetangulo::setOpacity(qreal opacidade)
{
    FOpacidade = std::clamp(opacidade, 0.0, 1.0);
    // The effect draws the rectangle and its children through an offscreen
    // layer; skip that work while fully opaque.
    if (FOpacidade < 1 && !FEfeito) {
        FEfeito = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(FEfeito);
    }
    if (FEfeito) {
        FEfeito->setOpacity(FOpacidade);
        FEfeito->setEnabled(FOpacidade < 1);
    }
}

bool TRetangulo::PintaAlgo() const
{
    const bool preenche = !FImagem.isNull()
        || (FPreenchimento.style() != Qt::NoBrush
            && (FPreenchimento.gradient() || FPreenchimento.color().alpha() > 0));
    const bool contorna = FLarguraContorno > 0 && FCorContorno.alpha() > 0;
    return preenche || contorna;
}

QPainterPath TRetangulo::Forma() const
{
    const bool contorna = FLarguraContorno > 0 && FCorContorno.alpha() > 0;
    const qreal meio = contorna ? FLarguraContorno / 2 : 0;
    const QRectF area = QRectF(rect()).adjusted(meio, meio, -meio, -meio);
    QPainterPath forma;
    if (FRaioX > 0 && FRaioY > 0)
        forma.addRoundedRect(area, FRaioX, FRaioY);
    else
        forma.addRect(area);
    return forma;
}

void TRetangulo::paintEvent(QPaintEvent*)
{
    if (!PintaAlgo())
        return;
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    const QPainterPath forma = Forma();
    if (!FImagem.isNull()) {
        if (FImagemTela.isNull())
            FImagemTela = QPixmap::fromImage(FImagem);
        pintor.save();
        pintor.setClipPath(forma);
        pintor.drawTiledPixmap(rect(), FImagemTela);
        pintor.restore();
    } else if (FPreenchimento.style() != Qt::NoBrush) {
        pintor.fillPath(forma, FPreenchimento);
    }
    if (FLarguraContorno > 0 && FCorContorno.alpha() > 0)
        pintor.strokePath(forma, QPen(FCorContorno, FLarguraContorno));
}

// The host's input mask follows every rectangle that moves, resizes, shows
// or hides.
void TRetangulo::moveEvent(QMoveEvent* evento)
{
    QWidget::moveEvent(evento);
    AgendaMascara(window());
}

void TRetangulo::resizeEvent(QResizeEvent* evento)
{
    QWidget::resizeEvent(evento);
    AgendaMascara(window());
}

void TRetangulo::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    AgendaMascara(window());
}

void TRetangulo::hideEvent(QHideEvent* evento)
{
    QWidget::hideEvent(evento);
    AgendaMascara(window());
}
