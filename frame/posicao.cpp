#include "frame/posicao.h"

#include <algorithm>
#include <cmath>

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

QPoint PosicaoSobreConteudo(QPoint gadget, const QRect& conteudo, int largura)
{
    const double rW = conteudo.width();
    const double fW = largura;
    double esquerda = double(gadget.x()) + conteudo.x();
    double topo = gadget.y();
    if (fW > rW)
        esquerda -= (fW - rW) / 2;
    else if (fW < rW)
        esquerda += (rW - fW) / 2;
    else
        topo += conteudo.y();
    // nearbyint under the default rounding mode takes halves to even.
    return QPoint(static_cast<int>(std::nearbyint(esquerda)),
                  static_cast<int>(std::nearbyint(topo)));
}

QPoint PosicaoDentroDaArea(const QRect& janela, const QRect& area)
{
    int esquerda = janela.x();
    int topo = janela.y();
    if (esquerda < area.left())
        esquerda = area.left();
    if (esquerda + janela.width() > area.x() + area.width())
        esquerda = area.x() + area.width() - janela.width();
    if (topo < area.top())
        topo = area.top();
    if (topo + janela.height() > area.y() + area.height())
        topo = area.y() + area.height() - janela.height();
    return QPoint(esquerda, topo);
}
