#pragma once

#include <QLabel>

// The gadget's text label: 120 x 15 when made, so that a label set up with
// ConfigLabel keeps that height unless it sizes itself to its text.
class TRotulo : public QLabel {
    Q_OBJECT

public:
    explicit TRotulo(QWidget* parent) : QLabel(parent) { resize(120, 15); }
};
