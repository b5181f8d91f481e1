#pragma once

#include "sales_per_hour/vendas_hora.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Runs the gadget's IniciarGadget from a timer tick, as its refresh timer
// does, and waits for its reading: an error takes the program's own way, to
// a box.
inline void AtualizarPeloLaco(TVendasHora& gadget)
{
    QTimer tique;
    tique.setSingleShot(true);
    bool chamado = false;
    QObject::connect(&tique, &QTimer::timeout, [&] {
        chamado = true;
        gadget.IniciarGadget(&tique);
    });
    tique.start(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chamado; }, 60000)) << "the tick never came";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gadget.Lendo(); }, 90000))
        << "the reading never ended";
}
