#include "config/indicadores.h"

#include "base/dinheiro.h"

#include <cmath>

TComparacao LerComparacao(const QString& valor)
{
    const QString limpo = valor.trimmed();
    if (limpo == QLatin1String("0"))
        return TComparacao::Nada;
    if (limpo == QLatin1String("4"))
        return TComparacao::Media4Semanas;
    return TComparacao::SemanaPassada;
}

QString ValorComparacao(TComparacao comparacao)
{
    switch (comparacao) {
    case TComparacao::Nada:
        return QStringLiteral("0");
    case TComparacao::SemanaPassada:
        break;
    case TComparacao::Media4Semanas:
        return QStringLiteral("4");
    }
    return QStringLiteral("1");
}

std::optional<double> LerMetaDia(const QString& valor)
{
    const std::optional<double> meta = LerDinheiro(valor, true);
    if (!meta || *meta <= 0)
        return std::nullopt;
    return meta;
}

QString ValorMetaDia(std::optional<double> meta)
{
    if (!meta)
        return {};
    const QString texto = TextoDinheiro(*meta, false);
    return texto.endsWith(QLatin1String(",00")) ? texto.chopped(3) : texto;
}
