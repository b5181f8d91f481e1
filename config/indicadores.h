#pragma once

#include <QString>
#include <optional>

// The gadget's indicator settings in its own section, "Comparacao" and
// "MetaDia", as the views, the CSV command and the dialog read and write
// them. A value that cannot be read counts as the default; nobody rewrites
// the file for it.

// What a day is compared with: nothing, the same weekday a week earlier, or
// the mean of the same weekday in each of the four weeks before.
enum class TComparacao { Nada, SemanaPassada, Media4Semanas };

// "0" Nada, "4" Media4Semanas; anything else, empty included, SemanaPassada.
TComparacao LerComparacao(const QString& valor);
// "0", "1" or "4".
QString ValorComparacao(TComparacao comparacao);

// The daily goal in reais; none when empty, unreadable or not above zero.
std::optional<double> LerMetaDia(const QString& valor);
// The goal as the dialog stores it: decimal comma, no thousands dots,
// decimals only when there are cents ("1500", "1500,50"); empty for none.
QString ValorMetaDia(std::optional<double> meta);
