#include "frame/posicao.h"

#include <algorithm>

bool VistaAlcancavel(const QRect& vista, const QList<QRect>& areas)
{
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) {
        const QRect comum = vista & area;
        return comum.width() >= LADO_MINIMO_VISIVEL && comum.height() >= LADO_MINIMO_VISIVEL;
    });
}

int PosicaoLimitada(int valor)
{
    return std::clamp(valor, -LIMITE_POSICAO, LIMITE_POSICAO);
}
