#pragma once

#include "base/erro.h"

#include <QString>
#include <gtest/gtest.h>

// The text of the Erro that chamada throws; a test failure when it throws none.
template <class Chamada>
QString ErroDe(Chamada&& chamada)
{
    try {
        chamada();
    } catch (const Erro& e) {
        return e.texto();
    }
    ADD_FAILURE() << "no Erro was thrown";
    return {};
}
