#pragma once

#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QString>
#include <memory>

class TConfig;
class TConexao;
class TQuery;

// The data side of the sales-per-hour gadget: the sales query and the hourly
// sales table it fills. No widget code, so it runs in tests and in the CSV
// command alike.
class TVendasHoraDados {
public:
    TVendasHoraDados();
    ~TVendasHoraDados();

    // Rebuilds the table with one zero row per configured hour.
    void CriarClientDataSet(const TConfig& config);

    // Totals the day `Data` ("dd/mm/yyyy") by hour into the table. On any
    // error the table keeps what it had, except that a bad hour setting
    // leaves it empty.
    void ValorDasVendas(const TConfig& config, TConexao& conexao, const QString& Data);

    const TTabelaVendasHora& CdsTemp() const { return FCdsTemp; }

private:
    TTabelaVendasHora FCdsTemp;
    std::unique_ptr<TQuery> QryVendas;
};

// The day a "dd/mm/yyyy" text names (day and month may have one digit);
// throws Erro naming the text when it is no valid date.
QDate DataDoDia(const QString& texto);
