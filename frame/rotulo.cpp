#include "frame/rotulo.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

QString TRotuloCortado::TextoVisivel() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void TRotuloCortado::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    style()->drawItemText(&pintor, contentsRect(), int(alignment()), palette(), isEnabled(),
                          TextoVisivel(), foregroundRole());
}

bool TRotuloCortado::event(QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const auto* ajuda = static_cast<QHelpEvent*>(evento);
        if (TextoVisivel() != text())
            QToolTip::showText(ajuda->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return TRotulo::event(evento);
}
