#pragma once

#include <QColor>
#include <QGraphicsDropShadowEffect>

// A soft glow of the given colour around a control while it has the keyboard
// focus. The control owns it.
class TBrilhoFoco : public QGraphicsDropShadowEffect {
public:
    TBrilhoFoco(QWidget* Controle, const QColor& Cor);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};
