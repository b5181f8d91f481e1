#include "sales_per_hour/arredondamento.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

double ArredondarCentavos(double valor)
{
    if (!std::isfinite(valor) || valor == 0.0)
        return valor;

    // d.dddddddddddddde±X: the 15 significant digits and the decimal exponent.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(valor));
    std::string digitos;
    digitos += buf[0];
    digitos.append(buf + 2, 14);
    const int expoente = std::atoi(buf + 17);

    // How many of those digits lie before the second decimal place.
    const int manter = expoente + 1 + 2;
    if (manter >= static_cast<int>(digitos.size()))
        return std::copysign(std::strtod(buf, nullptr), valor);
    if (manter < 0)
        return std::copysign(0.0, valor);

    long long centavos = manter == 0 ? 0 : std::stoll(digitos.substr(0, manter));
    if (digitos[manter] >= '5')
        ++centavos;
    return std::copysign(static_cast<double>(centavos) / 100.0, valor);
}
