#pragma once

#include <QString>

// The version that the sales gadget reports.
inline const QString VERSAO_GADGET = QStringLiteral("21.08ru");
// Titles of the family's gadgets.
inline const QString NOME_GGT_VENDAS_HORA = QStringLiteral("Vendas por Hora");
