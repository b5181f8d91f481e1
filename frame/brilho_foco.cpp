#include "frame/brilho_foco.h"

#include <QEvent>
#include <QWidget>

TBrilhoFoco::TBrilhoFoco(QWidget* Controle, const QColor& Cor) : QGraphicsDropShadowEffect(Controle)
{
    setColor(Cor);
    setOffset(0, 0);
    setBlurRadius(8);
    setEnabled(Controle->hasFocus());
    Controle->setGraphicsEffect(this);
    Controle->installEventFilter(this);
}

bool TBrilhoFoco::eventFilter(QObject*, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn)
        setEnabled(true);
    else if (evento->type() == QEvent::FocusOut)
        setEnabled(false);
    return false;
}
