#pragma once

#include <QStringList>

// The lines of the statement that totals one day's orders by hour. Imported
// orders are left out when excluirImportados; the branch parameter
// :CodEmpresa is added when filtrarEmpresa. Totals are summed as double
// precision: a dialect-1 NUMERIC of up to 9 digits is a 32-bit integer, and
// its own sum overflows on a big hour; the caller rounds to cents.
QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa);
