#pragma once

#include <QString>
#include <vector>

// The hourly sales table: one row per whole hour of business, in order.
class TTabelaVendasHora {
public:
    struct TLinha {
        QString HORA; // two-digit hour key, "08"
        double VALOR; // the hour's net sales, in cents precision
        int VENDAS = 0; // the hour's sales: orders whose operation counts in the sales map
        long double Exato = 0; // VALOR before rounding, for sums over hours
    };

    // Rebuilds the table with a zero row for every hour from horaIni to
    // horaFim; empty when horaFim < horaIni. Throws TErro, leaving the table
    // empty, when either text is not a whole number.
    void Recriar(const QString& horaIni, const QString& horaFim);

    // The row whose key is exactly `hora`, or null.
    TLinha* Localizar(const QString& hora);

    const std::vector<TLinha>& Linhas() const { return FLinhas; }

private:
    std::vector<TLinha> FLinhas;
};

// The table key of an hour text: left-padded with "0" to two characters.
QString ChaveHora(const QString& hora);
