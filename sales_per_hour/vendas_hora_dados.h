#pragma once

#include "config/indicadores.h"
#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

class TCacheDias;
class TConfig;
class TConexao;
class TDiaLido;
class TQuery;

// The data side of the sales-per-hour gadget: the sales query and the hourly
// sales table it fills, with the reference days the day is compared with.
// No widget code, so it runs in tests and in the CSV command alike.
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

    // The same, and the reference days of `comparacao`, all in one
    // statement. Days before hoje come from the cache when it holds them
    // (read at agora) and go into it when read; null: no cache.
    void ValorDasVendas(const TConfig& config, TConexao& conexao, const QString& Data,
                        TComparacao comparacao, TCacheDias* cache, const QDate& hoje,
                        const QDateTime& agora);

    const TTabelaVendasHora& CdsTemp() const { return FCdsTemp; }
    TComparacao Comparacao() const { return FComparacao; }
    // agora: the time of day when the day shown is today.
    TIndicadores Indicadores(std::optional<QTime> agora) const;

private:
    TTabelaVendasHora FCdsTemp;
    std::unique_ptr<TQuery> QryVendas;
    TComparacao FComparacao = TComparacao::Nada;
    std::vector<std::shared_ptr<const TDiaLido>> FReferencias;
};

// The day a "dd/mm/yyyy" text names (day and month may have one digit);
// throws TErro naming the text when it is no valid date.
QDate DataDoDia(const QString& texto);
