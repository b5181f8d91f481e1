#pragma once

#include "base/erro.h"

#include <QString>
#include <gtest/gtest.h>

// The text of the TErro that chamada throws; a test failure when it throws none.
template <class Chamada>
QString ErroDe(Chamada&& chamada)
{
    try {
        chamada();
    } catch (const TErro& e) {
        return e.Texto();
    }
    ADD_FAILURE() << "no Erro was thrown";
    return {};
}
