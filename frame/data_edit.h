#pragma once

#include "frame/botao.h"

#include <QDateEdit>
#include <functional>

// "comboeditstyle": a glossy date field with black text and a drop-down area
// 15 pixels wide holding a black triangle. The calendar pops up from that
// area; the wheel, drops and the context menu never change the date.
class TDataEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit TDataEdit(QWidget* parent);

    // Sees every key before the field does; a handler that sets both Key and
    // KeyChar to zero discards the key.
    std::function<void(QObject* Sender, int& Key, QChar& KeyChar, Qt::KeyboardModifiers Shift)>
        OnKeyDown;

    // Runs whenever the drop-down calendar closes, whether a day was picked
    // or not.
    std::function<void(QObject* Sender)> OnCloseUp;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;
};
