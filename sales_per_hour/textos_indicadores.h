#pragma once

#include "config/indicadores.h"
#include "sales_per_hour/indicadores_dia.h"

#include <QString>

// The texts in which the views show a day's indicators.

// "+8%", "-12%", "0%".
QString TextoDiferenca(int percentual);

// The line under the detail chart: "Total R$ 12.345,67 · 184 vendas ·
// ticket R$ 67,09 · +8% sem. passada". The ticket goes without sales, the
// comparison without a reference; a reference of zero shows its value
// instead of a difference.
QString LinhaDeTotais(const TIndicadores& indicadores, TComparacao comparacao);

// The tooltip of the table's row `indice`: its value, sales and ticket, and
// the reference with the difference. For today's running hour the
// reference goes up to agora; an hour still to come shows no difference.
QString DicaDaHora(const TTabelaVendasHora& tabela, const TIndicadores& indicadores,
                   TComparacao comparacao, int indice, std::optional<QTime> agora);

// "62% da meta".
QString TextoMeta(int percentual);
