#include "shell/estilos_host.h"

#include <QWidget>

namespace {

// The date edit's text runs from 4 pixels in on the left to 23 from the
// right: the edit field ends where the 15-pixel drop-down area begins, less
// the padding, and the line edit inside adds 2 pixels on each side.
const char* const FOLHA_ESTILOS = R"(
QLabel { color: #0000ff; }
QDateEdit {
    border: none;
    background: transparent;
    color: black;
    selection-background-color: rgba(42, 138, 223, 128);
    selection-color: black;
    padding: 3px 6px 3px 2px;
}
QDateEdit::drop-down {
    subcontrol-origin: border;
    subcontrol-position: center right;
    width: 15px;
    border: none;
}
QDateEdit::down-arrow { image: none; }
)";

} // namespace

void AplicaEstilosHost(QWidget* host)
{
    host->setStyleSheet(QString::fromLatin1(FOLHA_ESTILOS));
}
