#pragma once

#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class TConfig;
class TConexao;

// One day's hourly table of one branch (or of the configured branches), as
// that day's own run fills it, with its indicators.
struct TBlocoVendas {
    QDate Dia;
    std::optional<QString> Filial; // only by branch
    const TTabelaVendasHora& Tabela;
    const TIndicadores& Indicadores;
};

// Reads the days from de to ate with one statement and hands over each
// day's block as soon as the statement has given all of it: the days in
// order, every day of the period even without orders. porFilial: one run of
// days for each branch in code order, every active branch of FILIAIS and
// every branch with orders in the period, the configured branch ignored.
// Nothing of the period is kept: memory stays the same for any length.
void LerVendasPeriodo(const TConfig& config, TConexao& conexao, const QDate& de, const QDate& ate,
                      bool porFilial, const std::function<void(const TBlocoVendas&)>& aCadaBloco);
