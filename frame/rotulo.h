#pragma once

#include <QLabel>

// The gadget's text label: 120 x 15 when made, so that a label set up with
// ConfigLabel keeps that height unless it sizes itself to its text.
class TRotulo : public QLabel {
    Q_OBJECT

public:
    explicit TRotulo(QWidget* parent) : QLabel(parent) { resize(120, 15); }
};

// A one-line label whose text, when longer than the label, ends in "…"; the
// whole text then shows as its tooltip.
class TRotuloCortado : public TRotulo {
    Q_OBJECT

public:
    explicit TRotuloCortado(QWidget* parent) : TRotulo(parent) {}

    // The text as drawn.
    QString TextoVisivel() const;

protected:
    void paintEvent(QPaintEvent* evento) override;
    bool event(QEvent* evento) override;
};
