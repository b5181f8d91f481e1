#pragma once

#include <QString>

// Whole-number conversion of a configuration text; throws TErro naming the text
// when it is not a whole number that fits in 32 bits.
int StrToInt(const QString& texto);
