#pragma once

#include <QByteArray>

class BancoVarejo;
class QDate;

// The code of a branch that the shop's system stored in Windows-1252: "É1".
inline const QByteArray CODIGO_FILIAL_LATINA = QByteArrayLiteral("\xC9"
                                                                 "1");

// Adds that branch, "Loja Estação", active, and one order of it of 40.00 at
// 12:00 on `dia`.
void AdicionarFilialLatina(BancoVarejo& banco, const QDate& dia);
