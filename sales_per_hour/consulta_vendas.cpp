#include "sales_per_hour/consulta_vendas.h"

namespace {

// The sums and the count of one group; both statements take the same.
const QString SOMAS =
    QStringLiteral("Sum(Cast(PedidoC.TotalPedido As Double Precision)) as TotalPedido, "
                   "Sum(Cast(pedc.totalpedido As Double Precision) "
                   "- Cast(pedidoc.totalpedido As Double Precision)) AS TotalDevolvido, "
                   "Count(CASE WHEN cdoperc.MapaVenda = \"S\" THEN 1 END) AS Vendas ");

// The orders that count, with the orders they return; %1 selects the days.
const QString PEDIDOS =
    QStringLiteral("FROM PedidoC LEFT JOIN pedidoc pedc ON pedc.codempresa = pedidoc.codempresa "
                   "AND pedc.codpedido = pedidoc.codpedidodevolucao "
                   "AND pedc.tipopedido = pedidoc.tipopedidodevolucao "
                   "AND pedc.codcliente = pedidoc.codcliente "
                   "INNER JOIN cdoperc ON pedidoc.codoper = cdoperc.codoper "
                   "WHERE PedidoC.DataPedido %1 AND PedidoC.Faturado = \"S\" "
                   "AND (cdoperc.MapaVenda = \"S\" OR Cdoperc.DevVenda = \"S\") "
                   "AND PedidoC.TipoPedido IN (\"51\",\"55\",\"56\")");

QStringList Filtros(bool excluirImportados, bool filtrarEmpresa)
{
    QStringList linhas;
    if (excluirImportados)
        linhas << QStringLiteral("AND ((pedidoc.codpedidoimportado IS NULL) "
                                 "OR (pedidoc.codpedidoimportado = \"\"))");
    if (filtrarEmpresa)
        linhas << QStringLiteral("AND PedidoC.CodEmpresa = :CodEmpresa");
    return linhas;
}

} // namespace

QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa, int dias)
{
    QStringList parametros;
    for (int i = 0; i < dias; ++i)
        parametros << u':' + ParametroDia(i);
    QStringList linhas;
    linhas << QStringLiteral("SELECT PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2) As "
                             "Hora, Substring(PedidoC.Hora From 3 For 3) As Minuto, ")
                  + SOMAS
                  + PEDIDOS.arg(
                      QStringLiteral("IN (%1)").arg(parametros.join(QStringLiteral(", "))));
    linhas << Filtros(excluirImportados, filtrarEmpresa);
    linhas << QStringLiteral("Group By PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2), "
                             "Substring(PedidoC.Hora From 3 For 3)");
    return linhas;
}

QString ParametroDia(int indice)
{
    return QStringLiteral("PDia%1").arg(indice);
}

QStringList TextoConsultaPeriodo(bool excluirImportados, bool filtrarEmpresa, bool porFilial)
{
    const QString hora = QStringLiteral("Substring(PedidoC.Hora From 1 For 2)");
    // Orders without a branch code and with an empty one make one block.
    const QString filial = QStringLiteral("Coalesce(PedidoC.CodEmpresa, \"\")");
    QStringList linhas;
    if (porFilial) {
        // The active branches come first, each as one row without a day, so
        // that a branch without orders in the period has its block too.
        linhas << QStringLiteral(
            "SELECT FILIAIS.CODEMPRESA AS Filial, Cast(NULL As Date) AS DataPedido, "
            "Cast(NULL As VarChar(2)) AS Hora, Cast(NULL As Double Precision) AS TotalPedido, "
            "Cast(NULL As Double Precision) AS TotalDevolvido, Cast(NULL As Integer) AS Vendas "
            "FROM FILIAIS WHERE FILIALATIVA <> 'N'");
        linhas << QStringLiteral("UNION ALL");
    }
    linhas << QStringLiteral("SELECT %1PedidoC.DataPedido AS DataPedido, %2 As Hora, ")
                      .arg(porFilial ? filial + QStringLiteral(" AS Filial, ") : QString(), hora)
                  + SOMAS + PEDIDOS.arg(QStringLiteral("BETWEEN :PDe AND :PAte"));
    linhas << Filtros(excluirImportados, filtrarEmpresa && !porFilial);
    if (porFilial) {
        linhas << QStringLiteral("Group By %1, PedidoC.DataPedido, %2").arg(filial, hora);
        linhas << QStringLiteral("Order By 1, 2 NULLS FIRST, 3");
    } else {
        linhas << QStringLiteral("Group By PedidoC.DataPedido, %1").arg(hora);
        linhas << QStringLiteral("Order By 1, 2");
    }
    return linhas;
}
