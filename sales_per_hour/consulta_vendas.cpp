#include "sales_per_hour/consulta_vendas.h"

QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa, int dias)
{
    QStringList parametros;
    for (int i = 0; i < dias; ++i)
        parametros << u':' + ParametroDia(i);
    QStringList linhas;
    linhas << QStringLiteral(
                  "SELECT PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2) As Hora, "
                  "Substring(PedidoC.Hora From 3 For 3) As Minuto, "
                  "Sum(Cast(PedidoC.TotalPedido As Double Precision)) as TotalPedido, "
                  "Sum(Cast(pedc.totalpedido As Double Precision) "
                  "- Cast(pedidoc.totalpedido As Double Precision)) AS TotalDevolvido, "
                  "Count(CASE WHEN cdoperc.MapaVenda = \"S\" THEN 1 END) AS Vendas "
                  "FROM PedidoC LEFT JOIN pedidoc pedc ON pedc.codempresa = pedidoc.codempresa "
                  "AND pedc.codpedido = pedidoc.codpedidodevolucao "
                  "AND pedc.tipopedido = pedidoc.tipopedidodevolucao "
                  "AND pedc.codcliente = pedidoc.codcliente "
                  "INNER JOIN cdoperc ON pedidoc.codoper = cdoperc.codoper "
                  "WHERE PedidoC.DataPedido IN (%1) AND PedidoC.Faturado = \"S\" "
                  "AND (cdoperc.MapaVenda = \"S\" OR Cdoperc.DevVenda = \"S\") "
                  "AND PedidoC.TipoPedido IN (\"51\",\"55\",\"56\")")
                  .arg(parametros.join(QStringLiteral(", ")));
    if (excluirImportados)
        linhas << QStringLiteral("AND ((pedidoc.codpedidoimportado IS NULL) "
                                 "OR (pedidoc.codpedidoimportado = \"\"))");
    if (filtrarEmpresa)
        linhas << QStringLiteral("AND PedidoC.CodEmpresa = :CodEmpresa");
    linhas << QStringLiteral("Group By PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2), "
                             "Substring(PedidoC.Hora From 3 For 3)");
    return linhas;
}

QString ParametroDia(int indice)
{
    return QStringLiteral("PDia%1").arg(indice);
}
