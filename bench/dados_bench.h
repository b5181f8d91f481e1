#pragma once

#include <QDate>

// The benchmark's retail database: many orders in all, many on the day the
// gadget shows. A change here needs a new VERSAO_BANCO_BENCH in bench.sh.
inline const QDate DIA_BENCH(2024, 3, 15);
constexpr int PEDIDOS_NO_DIA = 100000;
constexpr int PEDIDOS_AO_TODO = 2000000;
