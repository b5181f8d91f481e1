#pragma once

#include <QColor>
#include <QPushButton>

class QPainter;
class QRectF;
class QVariantAnimation;

// The glossy rounded button of the gadgets ("Buttonstyle"): a light grey face
// that turns light blue in 0.2 s while the pointer is over it and glows
// inside while pressed, with the caption in corTexto. Drawn faded and at
// rest while disabled.
class TBotao : public QPushButton {
    Q_OBJECT

public:
    TBotao(const QString& texto, QWidget* parent,
           const QColor& corTexto = QColor::fromRgba(0xFF0000FF));

    // The face colour now: 0xFFEFEFEF at rest, 0xFFA5D9FF under the pointer.
    QColor CorFundo() const { return FCorFundo; }

protected:
    void paintEvent(QPaintEvent* evento) override;
    void enterEvent(QEnterEvent* evento) override;
    void leaveEvent(QEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    void Anima(bool paraDentro);

    QColor FCorFundo;
    QColor FCorTexto;
    QVariantAnimation* FAnimacao;
};

// The face colour of a glossy control at rest.
inline const QColor COR_FUNDO_BRILHANTE = QColor::fromRgba(0xFFEFEFEF);

// Glossy controls are drawn at this opacity while disabled.
constexpr qreal OPACIDADE_DESABILITADO = 0.6;

// The three layers of a glossy control: the face, a glossy gradient with the
// outline, and a light inner outline one pixel in.
void PintaFundoBrilhante(QPainter& pintor, const QRectF& area, const QColor& face);
