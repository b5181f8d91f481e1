#pragma once

#include <QStringList>

// The lines of the statement that totals one day's orders by hour. Imported
// orders are left out when excluirImportados; the branch parameter
// :CodEmpresa is added when filtrarEmpresa.
QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa);
