#include "frame/data_edit.h"

#include "base/brasil.h"
#include "frame/botao.h"
#include "frame/calendario.h"
#include "platform/mensagens.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

TDataEdit::TDataEdit(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(FORMATO_DATA);
    setLocale(LOCALE_BRASIL);
    VesteCalendario(calendarWidget());
    calendarWidget()->setFont(font());
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    calendarWidget()->window()->installEventFilter(this);
}

bool TDataEdit::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::Hide && objeto == calendarWidget()->window() && OnCloseUp)
        plataforma::Tratando([&] { OnCloseUp(this); });
    return QDateEdit::eventFilter(objeto, evento);
}

void TDataEdit::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    if (!isEnabled())
        pintor.setOpacity(OPACIDADE_DESABILITADO);
    PintaFundoBrilhante(pintor, QRectF(rect()), COR_FUNDO_BRILHANTE);

    const QPointF centro = QRectF(width() - 15, 0, 15, height()).center();
    const QPointF seta[] = {centro + QPointF(-4, -2.5), centro + QPointF(4, -2.5),
                            centro + QPointF(0, 2.5)};
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(Qt::black);
    pintor.drawPolygon(seta, 3);
}

// The calendar is a window of its own, which the edit's font does not reach.
void TDataEdit::changeEvent(QEvent* evento)
{
    QDateEdit::changeEvent(evento);
    if (evento->type() == QEvent::FontChange)
        calendarWidget()->setFont(font());
}

void TDataEdit::keyPressEvent(QKeyEvent* evento)
{
    int tecla = evento->key();
    QChar caractere = evento->text().isEmpty() ? QChar() : evento->text().at(0);
    if (OnKeyDown)
        OnKeyDown(this, tecla, caractere, evento->modifiers());
    if (tecla == 0 && caractere.isNull()) {
        evento->accept();
        return;
    }
    QDateEdit::keyPressEvent(evento);
}

void TDataEdit::wheelEvent(QWheelEvent* evento)
{
    evento->ignore();
}
