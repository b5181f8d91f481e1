#include "frame/calendario.h"

#include "base/brasil.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QTextCharFormat>

namespace {

const QColor AZUL = QColor::fromRgba(0xFF0000FF);

const char* const FOLHA = R"(
QCalendarWidget QWidget#qt_calendar_navigationbar {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e0e0e0, stop:1 #b8b8b8);
    border-bottom: 1px solid #9a9a9a;
}
QCalendarWidget QToolButton {
    color: #0000ff;
    background: transparent;
    border: none;
    border-radius: 3px;
    padding: 1px 3px;
    font-weight: bold;
}
QCalendarWidget QToolButton:hover, QCalendarWidget QToolButton:pressed { background: #a5d9ff; }
QCalendarWidget QToolButton#qt_calendar_monthbutton { padding-right: 13px; }
QCalendarWidget QToolButton#qt_calendar_monthbutton::menu-indicator {
    image: url(:/calendario/seta_baixo.svg);
    subcontrol-origin: padding;
    subcontrol-position: center right;
    width: 8px;
    height: 5px;
    right: 3px;
}
QCalendarWidget QToolButton#qt_calendar_prevmonth { qproperty-icon: url(:/calendario/seta_esquerda.svg); }
QCalendarWidget QToolButton#qt_calendar_nextmonth { qproperty-icon: url(:/calendario/seta_direita.svg); }
QCalendarWidget QSpinBox {
    color: #0000ff;
    background: #efefef;
    border: 1px solid #9a9a9a;
    selection-background-color: #005acc;
    selection-color: white;
}
QCalendarWidget QMenu {
    background: #efefef;
    color: black;
    border: 1px solid #9a9a9a;
}
QCalendarWidget QMenu::item { padding: 2px 12px; }
QCalendarWidget QMenu::item:selected { background: #a5d9ff; color: #0000ff; }
QCalendarWidget QAbstractItemView {
    background: #efefef;
    color: black;
    selection-background-color: #005acc;
    selection-color: white;
    outline: 0px;
}
QCalendarWidget QAbstractItemView:disabled { color: #9a9a9a; }
)";

} // namespace

void VesteCalendario(QCalendarWidget* Calendario)
{
    Calendario->setLocale(LOCALE_BRASIL);
    Calendario->setFirstDayOfWeek(LOCALE_BRASIL.firstDayOfWeek());
    Calendario->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendario->setStyleSheet(QString::fromLatin1(FOLHA));

    QTextCharFormat cabecalho;
    cabecalho.setForeground(AZUL);
    cabecalho.setBackground(QColor::fromRgba(0xFFE0E0E0));
    cabecalho.setFontWeight(QFont::Bold);
    Calendario->setHeaderTextFormat(cabecalho);
    // Weekends like the other days, in the header too: no red of their own.
    for (Qt::DayOfWeek dia : {Qt::Saturday, Qt::Sunday})
        Calendario->setWeekdayTextFormat(dia, Calendario->weekdayTextFormat(Qt::Monday));
}
