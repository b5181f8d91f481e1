#include "sales_per_hour/consulta_vendas.h"

QStringList TextoConsultaVendas(bool excluirImportados, bool filtrarEmpresa)
{
    QStringList linhas;
    linhas << QStringLiteral(
        "SELECT PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2) As Hora, "
        "Sum(Cast(PedidoC.TotalPedido As Double Precision)) as TotalPedido, "
        "Sum(Cast(pedc.totalpedido As Double Precision) "
        "- Cast(pedidoc.totalpedido As Double Precision)) AS TotalDevolvido "
        "FROM PedidoC LEFT JOIN pedidoc pedc ON pedc.codempresa = pedidoc.codempresa "
        "AND pedc.codpedido = pedidoc.codpedidodevolucao "
        "AND pedc.tipopedido = pedidoc.tipopedidodevolucao "
        "AND pedc.codcliente = pedidoc.codcliente "
        "INNER JOIN cdoperc ON pedidoc.codoper = cdoperc.codoper "
        "WHERE PedidoC.DataPedido = :PDataIni AND PedidoC.Faturado = \"S\" "
        "AND (cdoperc.MapaVenda = \"S\" OR Cdoperc.DevVenda = \"S\") "
        "AND PedidoC.TipoPedido IN (\"51\",\"55\",\"56\")");
    if (excluirImportados)
        linhas << QStringLiteral("AND ((pedidoc.codpedidoimportado IS NULL) "
                                 "OR (pedidoc.codpedidoimportado = \"\"))");
    if (filtrarEmpresa)
        linhas << QStringLiteral("AND PedidoC.CodEmpresa = :CodEmpresa");
    linhas << QStringLiteral("Group By PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2)");
    return linhas;
}
