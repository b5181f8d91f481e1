#pragma once

#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QString>

// The day on view as the clipboard carries it: a spreadsheet pastes the
// cells, a chat or mail the table. Columns Hora, Valor, Vendas and Ticket,
// decimal comma, a row per hour ("08h") and the day's "Total" row; the
// ticket is empty without sales.

// Tab-separated lines, each ending in a line break.
QString TextoTabelaCopia(const TTabelaVendasHora& tabela, const TIndicadores& indicadores);

// The same rows as an HTML table, numbers aligned right.
QString HtmlTabelaCopia(const TTabelaVendasHora& tabela, const TIndicadores& indicadores);

// The file name offered when the day is saved: "vendas-por-hora-2026-12-11"
// and, when a branch is chosen, "-filial-" and its code, then "." and
// extensao. In the code, whatever is not a letter, a digit, "-" or "_"
// becomes "_": a "/" or a blank would make another path or a name that a
// shell or a mail splits.
QString NomeArquivoDoDia(const QDate& dia, const QString& empresa, const QString& extensao);
