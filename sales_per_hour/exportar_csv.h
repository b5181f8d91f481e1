#pragma once

#include "base/erro.h"
#include "config/indicadores.h"
#include "data/fila_banco.h"
#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/saida_tabela.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <chrono>

// The companion command vendas-por-hora-csv: one day's hourly sales table,
// or a period's, as CSV for a spreadsheet in the Brazilian locale or as
// JSON, of the configured branches or of each branch. It only reads: the
// configuration file and the retail database.

extern const QString USO_VENDAS_POR_HORA_CSV;

// A command line that the command cannot take (exit code 1).
class ErroDeUso : public Erro {
public:
    using Erro::Erro;
};

struct OpcoesCsv {
    QString dia; // "dd/MM/yyyy"
    QDate de; // valid with --de: the period from de to ate, instead of dia
    QDate ate;
    bool porFilial = false;
    TFormatoSaida formato = TFormatoSaida::Csv;
    QString horaIni = QStringLiteral("8");
    QString horaFim = QStringLiteral("18");
    bool detalhado = false;
    std::optional<TComparacao> comparar; // none: the configuration's
    std::chrono::seconds tempoLimite = LIMITE_LEITURA; // 0: none
    bool ajuda = false;
    bool versao = false;
};

// The options after the program name; the day, and the end of a period,
// default to today. Throws ErroDeUso.
OpcoesCsv LerOpcoesCsv(const QStringList& argumentos);

// "HORA;VALOR", then "08;1234,50" for each row.
QString TextoCsv(const TTabelaVendasHora& tabela);

// "HORA;VALOR;VENDAS;TICKET;REFERENCIA", a row for each hour ("08;1234,50;
// 3;411,50;1000,00") and the day's "TOTAL" row, whose reference is the
// reference's whole day. TICKET is empty without sales, REFERENCIA
// without comparison.
QString TextoCsvDetalhado(const TTabelaVendasHora& tabela, const TIndicadores& indicadores,
                          TComparacao comparacao);

// The whole command: the table goes to saida, any error as one line to
// erros. Returns the exit code: 0, 1 for a usage error, 2 for any other.
// One day's CSV is printed whole once read, so a failure prints nothing;
// anything else is printed as the statement gives it.
int ExecutarVendasPorHoraCsv(const QStringList& argumentos, QTextStream& saida, QTextStream& erros);
