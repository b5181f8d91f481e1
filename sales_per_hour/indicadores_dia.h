#pragma once

#include "config/indicadores.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <QDate>
#include <QTime>
#include <optional>
#include <vector>

class TDiaLido;

// The reference days of a day: the same weekday one week earlier, or in each
// of the four weeks before; none for TComparacao::Nada.
std::vector<QDate> DiasDeReferencia(const QDate& dia, TComparacao comparacao);

// What the views and the CSV command show beside the hourly values. Every
// money figure is its exact value rounded once, as an hour's value is.
struct TIndicadores {
    struct THora {
        std::optional<double> Ticket; // none without sales
        std::optional<double> Referencia; // none without comparison
    };
    std::vector<THora> Horas; // in the table's order
    double Total = 0;
    int Vendas = 0;
    std::optional<double> Ticket;
    std::optional<double> Referencia; // the reference's whole day
    // Only for today: the running hour's row, when the range holds it, and
    // the reference up to the same time of day.
    std::optional<int> HoraCorrente;
    std::optional<double> ReferenciaHoraCorrente; // that hour of the reference up to now
    std::optional<double> ReferenciaAteAgora;

    // What the day's total compares with: "so far" for today.
    std::optional<double> ReferenciaDoTotal() const
    {
        return ReferenciaAteAgora ? ReferenciaAteAgora : Referencia;
    }
};

// The indicators of a filled table, against the mean of the reference days
// (none: no comparison). agora is the time of day when the day is today.
TIndicadores CalcularIndicadores(const TTabelaVendasHora& tabela,
                                 const std::vector<const TDiaLido*>& referencias,
                                 std::optional<QTime> agora);

// The exact value over the number of sales, rounded; none without sales.
std::optional<double> Ticket(long double valor, int vendas);

// How far valor is above (positive) or below the reference, in whole
// percent of it; none when the reference is zero.
std::optional<int> Diferenca(double valor, double referencia);

// How much of the goal the total reached, in whole percent, never below 0
// nor rounded up to a goal not reached.
int PercentualMeta(double total, double meta);
