#pragma once

// A day and its four reference weeks whose figures are known by
// construction, for branch 01 from 8 to 12 without imported orders; what
// each figure must be is written beside it. The day is "today" at 10:30 for
// the tests that need a running hour.

#include "tests/fixtures/banco_varejo.h"

#include <QDate>
#include <QDateTime>
#include <QList>

// GCC 12 warns about every member that a designated initializer leaves to
// its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

inline const QDate DIA(2024, 5, 15); // a Wednesday
inline const QDateTime AGORA(DIA, QTime(10, 30));

// Operations: 1 sale, 2 return, 3 neither, 4 both.
inline void OrdensDoDiaComReferencias(BancoVarejo& banco)
{
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    banco.addOperacao(2, QStringLiteral("N"), QStringLiteral("S"));
    banco.addOperacao(3, QStringLiteral("N"), QStringLiteral("N"));
    banco.addOperacao(4, QStringLiteral("S"), QStringLiteral("S"));
    const auto dia = [](int semanas) { return DIA.addDays(-7 * semanas); };
    banco.addPedidos({
        // The day. 08: 150,15 in 2 sales, ticket 75,075 rounded to 75,08.
        {.dataPedido = DIA, .hora = "08:10", .totalPedido = 100.00},
        {.dataPedido = DIA, .hora = "08:50", .totalPedido = 50.15},
        // 09: a sale of 10,00 and a return of 5,00 from an order of 100,00:
        // 10 + 5 - (100 - 5) = -80,00 in one sale (a return is no sale).
        {.codPedido = 901, .codCliente = 9, .dataPedido = DIA.addDays(-1), .totalPedido = 100},
        {.dataPedido = DIA, .hora = "09:00", .totalPedido = 10.00},
        {.codPedido = 902,
         .codCliente = 9,
         .dataPedido = DIA,
         .hora = "09:40",
         .totalPedido = 5.00,
         .codOper = 2,
         .codPedidoDevolucao = 901,
         .tipoPedidoDevolucao = "51"},
        // 10, the running hour: 42,00 in 2 sales.
        {.dataPedido = DIA, .hora = "10:05", .totalPedido = 30.00},
        {.dataPedido = DIA, .hora = "10:20", .totalPedido = 12.00},
        // 11: nothing that counts.
        {.dataPedido = DIA, .hora = "11:00", .totalPedido = 70.00, .codOper = 3},
        {.dataPedido = DIA, .hora = "11:10", .totalPedido = 80.00, .faturado = "N"},
        // 12: 7,00 in 1 sale, its operation both a sale and a return; the
        // imported order and the other branch's do not count.
        {.dataPedido = DIA, .hora = "12:00", .totalPedido = 7.00, .codOper = 4},
        {.dataPedido = DIA, .hora = "12:10", .totalPedido = 90.00, .codPedidoImportado = "W1"},
        {.codEmpresa = "02", .dataPedido = DIA, .hora = "12:20", .totalPedido = 300.00},
        // The day's total: 150,15 - 80 + 42 + 7 = 119,15 in 6 sales, ticket
        // 19,858 rounded to 19,86.

        // A week before: 60 + 40 + 71 + 5 = 176,00. Up to 10:30: 60 + 40 +
        // 10 + 20 + 1 = 131,00 (an hour without minutes counts from its
        // start; 10:31 is later).
        {.dataPedido = dia(1), .hora = "08:30", .totalPedido = 60.00},
        {.dataPedido = dia(1), .hora = "09:30", .totalPedido = 40.00},
        {.dataPedido = dia(1), .hora = "10:15", .totalPedido = 10.00},
        {.dataPedido = dia(1), .hora = "10:30:59", .totalPedido = 20.00},
        {.dataPedido = dia(1), .hora = "10:31", .totalPedido = 40.00},
        {.dataPedido = dia(1), .hora = "10", .totalPedido = 1.00},
        {.dataPedido = dia(1), .hora = "11:45", .totalPedido = 5.00},
        {.dataPedido = dia(1), .hora = "08:00", .totalPedido = 500, .codPedidoImportado = "W2"},
        {.codEmpresa = "02", .dataPedido = dia(1), .hora = "08:00", .totalPedido = 500},
        {.dataPedido = dia(1), .hora = "13:00", .totalPedido = 500},
        // Two weeks before: 30 + 3 + 9 = 42,00; up to 10:30, 33,00.
        {.dataPedido = dia(2), .hora = "08:00", .totalPedido = 30.00},
        {.dataPedido = dia(2), .hora = "10:30", .totalPedido = 3.00},
        {.dataPedido = dia(2), .hora = "12:59", .totalPedido = 9.00},
        // Three weeks before: no orders at all.
        // Four weeks before: 10,01 + 0,02 = 10,03, all before 10:30.
        {.dataPedido = dia(4), .hora = "08:00", .totalPedido = 10.01},
        {.dataPedido = dia(4), .hora = "09:00", .totalPedido = 0.02},
        // The mean of the four, hour by hour: 08 25,0025 -> 25,00; 09
        // 10,005 -> 10,01; 10 18,50; 11 1,25; 12 2,25. Whole days: 228,03 / 4
        // = 57,0075 -> 57,01; up to 10:30: 174,03 / 4 = 43,5075 -> 43,51;
        // the running hour up to 10:30: (31 + 3) / 4 = 8,50.
    });
}
