#pragma once

#include <QString>

// The family of the gadgets' labels and of the about box, whose sizes are
// made for its widths: the system's Tahoma, else the metric-compatible one of
// Debian's fonts-wine (RegistraTahoma).
inline const QString FONTE_ROTULOS = QStringLiteral("Tahoma");

// Registers fonts-wine's Tahoma for the program when the system has none.
// Needs the application object.
void RegistraTahoma();
