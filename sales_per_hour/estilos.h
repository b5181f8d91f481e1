#pragma once

#include <QColor>
#include <QDateEdit>
#include <QPushButton>
#include <functional>

class QVariantAnimation;

// The host window's looks for the gadget's controls: "Labelstyle" (blue label
// text), "Buttonstyle" (TBotao) and "comboeditstyle" (TDataEdit). The style
// sheet gives the text colours and the date edit's areas; the two classes
// paint the layered glossy background that a style sheet cannot.
void AplicaEstilosHost(QWidget* host);

// "Buttonstyle": a glossy rounded button with a blue caption, whose face
// turns light blue in 0.2 s while the pointer is over it and glows inside
// while pressed. Drawn faded while disabled.
class TBotao : public QPushButton {
    Q_OBJECT

public:
    TBotao(const QString& texto, QWidget* parent);

    // The face colour now: 0xFFEFEFEF at rest, 0xFFA5D9FF under the pointer.
    QColor CorFundo() const { return FCorFundo; }

protected:
    void paintEvent(QPaintEvent* evento) override;
    void enterEvent(QEnterEvent* evento) override;
    void leaveEvent(QEvent* evento) override;

private:
    void Anima(bool paraDentro);

    QColor FCorFundo;
    QVariantAnimation* FAnimacao;
};

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

protected:
    void paintEvent(QPaintEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;
};
