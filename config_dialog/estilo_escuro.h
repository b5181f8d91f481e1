#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

class QVariantAnimation;

// The configuration dialog's dark look ("StyleBook1"): grey texts, dark
// gradient buttons and lists with an orange focus glow, dark spin boxes and
// check boxes, a dark tab control. The style sheet does what it can; the
// classes below paint the pieces it cannot.
QString FolhaEstiloEscuro();

// Gives a button, list or check box the orange glow while it has the focus.
void BrilhoFocoEscuro(QWidget* Controle);

// A pop-up list showing two small white triangles, one up and one down, in
// the 15-pixel strip at its right end.
class TListaEscura : public QComboBox {
    Q_OBJECT

public:
    explicit TListaEscura(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* evento) override;
};

// A spin box with a minus button at the left end and a plus button at the
// right end, each 18 pixels wide with a white sign.
class TSpinEscuro : public QSpinBox {
    Q_OBJECT

public:
    explicit TSpinEscuro(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* evento) override;
};

// A check box whose orange check mark fades in over 0.1 s when checked and
// goes at once when cleared.
class TCaixaMarcacao : public QCheckBox {
    Q_OBJECT

public:
    TCaixaMarcacao(const QString& texto, QWidget* parent);

    // 0 (no mark) to 1 (the mark fully drawn).
    qreal OpacidadeMarca() const { return FOpacidadeMarca; }
    // Where the text goes, right of the box.
    QRectF AreaTexto() const;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    qreal FOpacidadeMarca = 0;
    QVariantAnimation* FAnimacao;
};
