#pragma once

#include <QImage>

// The configuration dialog's background, 546 x 358 with alpha: a dark panel
// with rounded corners and a faint light outline inside a transparent margin,
// a lighter band across its top, and the family logo in its lower right
// corner. The dialog stretches it over its whole panel.
QImage FundoConfiguracao();
