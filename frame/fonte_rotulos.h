#pragma once

#include <QString>

// The family of the gadgets' labels and of the about box; where it is missing
// both fall back to the same substitute that the system picks for it.
inline const QString FONTE_ROTULOS = QStringLiteral("Tahoma");
