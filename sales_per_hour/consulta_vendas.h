#pragma once

#include <QString>
#include <QStringList>

// The lines of the statement that totals the orders of `dias` days by day,
// hour and minute: the net value and the number of sales, the orders whose
// operation counts in the sales map. The days are the parameters
// ParametroDia(0) to ParametroDia(dias - 1). Imported orders are left out
// when excluirImportados; the branch parameter :CodEmpresa is added when
// filtrarEmpresa. Totals are summed as double precision: a dialect-1
// NUMERIC of up to 9 digits is a 32-bit integer, and its own sum overflows
// on a big hour; the caller rounds to cents.
QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa, int dias);

// "PDia0", "PDia1"...
QString ParametroDia(int indice);

// The same orders and sums over the days from :PDe to :PAte, grouped by day
// and hour (columns DataPedido, Hora, TotalPedido, TotalDevolvido, Vendas)
// and in that order. With porFilial, grouped by branch first (column Filial,
// the branch's order), the configured branch is not asked, and every active
// branch of FILIAIS comes first in its block as a row with a null day.
QStringList TextoConsultaPeriodo(bool excluirImportados, bool filtrarEmpresa, bool porFilial);
