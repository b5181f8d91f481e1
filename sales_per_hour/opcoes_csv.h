#pragma once

#include "base/erro.h"
#include "config/indicadores.h"
#include "data/fila_banco.h"
#include "sales_per_hour/saida_tabela.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

// The command line of vendas-por-hora-csv: its help text, and the options
// it takes.

inline const QString PROGRAMA_CSV = QStringLiteral("vendas-por-hora-csv");

extern const QString USO_VENDAS_POR_HORA_CSV;

// A command line that the command cannot take (exit code 1).
class TErroDeUso : public TErro {
public:
    using TErro::TErro;
};

struct TOpcoesCsv {
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
// default to today. Throws TErroDeUso.
TOpcoesCsv LerOpcoesCsv(const QStringList& argumentos);
