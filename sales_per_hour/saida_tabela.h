#pragma once

#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QString>
#include <QTextStream>
#include <optional>

// How the CSV command prints its rows: CSV for a spreadsheet in the
// Brazilian locale, or one JSON document for programs.
enum class TFormatoSaida { Csv, Json };

// Which columns a table has, in the order DATA, FILIAL, HORA, VALOR, VENDAS,
// TICKET, REFERENCIA.
struct TColunasSaida {
    bool Data = false;
    bool Filial = false;
    bool Detalhado = false; // VENDAS and TICKET, and a TOTAL row per block
    bool Referencia = false;
};

// Writes rows as they come: CSV with ";", the decimal comma and dates
// "dd/mm/aaaa"; JSON as an array of objects whose keys are the columns in
// lower case, money with two decimals, dates "aaaa-mm-dd", null for an
// empty ticket or reference. The header goes out before the first row.
class TSaidaTabela {
public:
    TSaidaTabela(QTextStream& saida, TFormatoSaida formato, TColunasSaida colunas);

    // One day's table: a row per hour, and the TOTAL row when detailed.
    // Filial and dia are used when their columns are there.
    void Bloco(const QDate& dia, const QString& filial, const TTabelaVendasHora& tabela,
               const TIndicadores& indicadores);

    // Ends the document: the header of a table without rows, JSON's "]".
    void Fim();

private:
    void Linha(const QDate& dia, const QString& filial, const QString& hora, double valor,
               int vendas, std::optional<double> ticket, std::optional<double> referencia);
    void Comecar();

    QTextStream& FSaida;
    const TFormatoSaida FFormato;
    const TColunasSaida FColunas;
    bool FComecou = false;
    bool FPrimeiraLinha = true;
};
