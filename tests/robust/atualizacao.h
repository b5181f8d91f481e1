#pragma once

#include "frame/gadget.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Runs the gadget's IniciarGadget from a timer tick, as its refresh timer
// does: an error takes the program's own way, through the application's
// notify() to a box.
inline void AtualizarPeloLaco(TGadget& gadget)
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
}
