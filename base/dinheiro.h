#pragma once

#include <QString>
#include <optional>

// A money amount as the user types it in the Brazilian form: digits, dots
// between thousands or none, and a decimal comma with one or two decimals
// ("1500", "1.500", "1.500,5", "1500,50"). Blanks around are ignored. With
// pontoDecimal, a decimal point with one or two decimals is taken as well
// ("1500.50"), as a number in a configuration file may be written; a dot
// followed by three digits is always a thousands dot. None for anything
// else, a sign included.
std::optional<double> LerDinheiro(const QString& texto, bool pontoDecimal);

// Two decimals with the decimal comma, a dot between thousands when
// milhares: "1.234,50", "-0,25"; never "-0,00".
QString TextoDinheiro(double valor, bool milhares);

// "R$ 1.234,50", "-R$ 80,00".
QString TextoReais(double valor);
