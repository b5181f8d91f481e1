#pragma once

#include <QMenu>

// The gadget's menus (its right-click menu, the list of branches, the tray
// icon's): dark and see-through like the gadget's other pop-ups, with
// rounded corners, in the labels' font. Arrows and Enter choose, Escape or a
// click elsewhere closes.
class TMenuEscuro : public QMenu {
    Q_OBJECT

public:
    explicit TMenuEscuro(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    // Without a compositor the see-through corners would come out black: the
    // window then keeps to the rounded shape.
    void AjustaForma();
};
