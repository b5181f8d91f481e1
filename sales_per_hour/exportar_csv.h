#pragma once

#include "config/indicadores.h"
#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/opcoes_csv.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// The companion command vendas-por-hora-csv: one day's hourly sales table,
// or a period's, as CSV for a spreadsheet in the Brazilian locale or as
// JSON, of the configured branches or of each branch. It only reads: the
// configuration file and the retail database.

// "HORA;VALOR", then "08;1234,50" for each row.
QString TextoCsv(const TTabelaVendasHora& tabela);

// "HORA;VALOR;VENDAS;TICKET;REFERENCIA", a row for each hour ("08;1234,50;
// 3;411,50;1000,00") and the day's "TOTAL" row, whose reference is the
// reference's whole day. TICKET is empty without sales, REFERENCIA
// without comparison.
QString TextoCsvDetalhado(const TTabelaVendasHora& tabela, const TIndicadores& indicadores,
                          TComparacao comparacao);

// The whole command: the table goes to saida, any error as one line to
// erros. Returns the exit code: 0, 1 for a usage error, 2 for any other.
// One day's CSV is printed whole once read, so a failure prints nothing;
// anything else is printed as the statement gives it.
int ExecutarVendasPorHoraCsv(const QStringList& argumentos, QTextStream& saida, QTextStream& erros);
