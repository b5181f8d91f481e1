#include "frame/botao.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace {

const QColor COR_FUNDO_SOB_PONTEIRO = QColor::fromRgba(0xFFA5D9FF);

// A soft dark glow along the inside of the edge.
void PintaBrilhoInterno(QPainter& pintor, const QRectF& area)
{
    QPainterPath forma;
    forma.addRoundedRect(area, 3, 3);
    pintor.save();
    pintor.setClipPath(forma);
    QColor cor = QColor::fromRgba(0xFF4F4848);
    const qreal alfas[] = {0.9, 0.55, 0.25};
    for (int passo = 0; passo < 3; ++passo) {
        cor.setAlphaF(alfas[passo]);
        const qreal recuo = 0.5 + passo;
        QPainterPath anel;
        anel.addRoundedRect(area.adjusted(recuo, recuo, -recuo, -recuo), 3, 3);
        pintor.strokePath(anel, QPen(cor, 1));
    }
    pintor.restore();
}

} // namespace

void PintaFundoBrilhante(QPainter& pintor, const QRectF& area, const QColor& face)
{
    pintor.setRenderHint(QPainter::Antialiasing);
    QPainterPath fundo;
    fundo.addRoundedRect(area, 3, 3);
    pintor.fillPath(fundo, face);

    QPainterPath brilho;
    brilho.addRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QLinearGradient gradiente(area.topLeft(), area.bottomLeft());
    gradiente.setColorAt(0, QColor::fromRgba(0x24F4F4F4));
    gradiente.setColorAt(0.499, QColor::fromRgba(0x24EAEAEA));
    gradiente.setColorAt(0.5, QColor::fromRgba(0x4E868686));
    pintor.fillPath(brilho, gradiente);
    pintor.strokePath(brilho, QPen(QColor::fromRgba(0xC84F4F4F), 1));

    QPainterPath interno;
    interno.addRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    pintor.strokePath(interno, QPen(QColor::fromRgba(0x96FCFCFC), 1));
}

TBotao::TBotao(const QString& texto, QWidget* parent, const QColor& corTexto)
    : QPushButton(texto, parent),
      FCorFundo(COR_FUNDO_BRILHANTE),
      FCorTexto(corTexto),
      FAnimacao(new QVariantAnimation(this))
{
    FAnimacao->setStartValue(COR_FUNDO_BRILHANTE);
    FAnimacao->setEndValue(COR_FUNDO_SOB_PONTEIRO);
    FAnimacao->setDuration(200);
    connect(FAnimacao, &QVariantAnimation::valueChanged, this, [this](const QVariant& valor) {
        FCorFundo = valor.value<QColor>();
        update();
    });
}

void TBotao::Anima(bool paraDentro)
{
    // Turning round half-way runs back from where the colour is now.
    FAnimacao->setDirection(paraDentro ? QAbstractAnimation::Forward
                                       : QAbstractAnimation::Backward);
    if (FAnimacao->state() != QAbstractAnimation::Running)
        FAnimacao->start();
}

void TBotao::enterEvent(QEnterEvent* evento)
{
    QPushButton::enterEvent(evento);
    Anima(true);
}

void TBotao::leaveEvent(QEvent* evento)
{
    QPushButton::leaveEvent(evento);
    Anima(false);
}

// A disabled button gets no leave: one disabled under the pointer would keep
// its hover face.
void TBotao::changeEvent(QEvent* evento)
{
    QPushButton::changeEvent(evento);
    if (evento->type() != QEvent::EnabledChange)
        return;
    if (isEnabled()) {
        if (underMouse())
            Anima(true);
        return;
    }
    FAnimacao->stop();
    FCorFundo = COR_FUNDO_BRILHANTE;
    update();
}

void TBotao::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    if (!isEnabled())
        pintor.setOpacity(OPACIDADE_DESABILITADO);
    const QRectF area(rect());
    PintaFundoBrilhante(pintor, area, FCorFundo);
    if (isDown())
        PintaBrilhoInterno(pintor, area);
    // Narrow buttons let the caption run past the inset, as it is not clipped.
    pintor.setPen(FCorTexto);
    pintor.setFont(font());
    pintor.drawText(area.adjusted(5, 3, -5, -3), Qt::AlignCenter | Qt::TextDontClip, text());
}
