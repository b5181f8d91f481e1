#include "tests/support/filial_latina.h"

#include "tests/fixtures/banco_varejo.h"

void AdicionarFilialLatina(BancoVarejo& banco, const QDate& dia)
{
    banco.executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA, "
                                  "FILIALATIVA) VALUES (?, 'Loja Estação', 'S')"),
                   {CODIGO_FILIAL_LATINA});
    // An order holds its branch code as text: the stored bytes go in after.
    Pedido latina;
    latina.codEmpresa = QStringLiteral("XX");
    latina.dataPedido = dia;
    latina.hora = QStringLiteral("12:00");
    latina.totalPedido = 40;
    banco.addPedido(latina);
    banco.executar(QStringLiteral("UPDATE PEDIDOC SET CODEMPRESA = ? WHERE CODEMPRESA = 'XX'"),
                   {CODIGO_FILIAL_LATINA});
}
