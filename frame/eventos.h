#pragma once

#include <QObject>
#include <QPointF>
#include <functional>

class QWidget;

using TNotifyEvent = std::function<void(QObject* Sender)>;
// Button is the one pressed or released; Shift holds the buttons down during
// the event, Button included. X and Y are in the control's coordinates.
using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                       Qt::MouseButtons Shift, qreal X, qreal Y)>;

// The handlers bound to one control, one per event; assigning a handler
// replaces the previous one. The control keeps doing its own work: a button
// still clicks after OnMouseDown is bound to it.
//
// A bound control keeps its mouse presses to itself instead of passing the
// ones it ignores to its parent, so that a press is handled once, by the
// control under the pointer.
class TEventos : public QObject {
    Q_OBJECT

public:
    // The handlers of Controle, made on first use.
    static TEventos& De(QWidget* Controle);

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    explicit TEventos(QWidget* Controle);

    QWidget* FControle;
    bool FPressionado = false;
};
