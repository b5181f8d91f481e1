#include "sales_per_hour/marcas_grafico.h"

#include <algorithm>
#include <array>

namespace {

// Gap between a point and its box.
constexpr double AFASTAMENTO = 4;

bool Livre(const QRectF& caixa, const QRectF& area, const QList<QRectF>& ocupados)
{
    if (!area.contains(caixa))
        return false;
    return std::none_of(ocupados.begin(), ocupados.end(),
                        [&](const QRectF& r) { return !r.isEmpty() && r.intersects(caixa); });
}

// A box with its top at topo, centred over x and moved sideways no further
// than needed to stay inside the area, then, where that place is taken, slid
// by the least that clears it, by at most a quarter of its width: it still
// stands over its point. Empty when no such place is free.
QRectF Encaixa(double x, double topo, const QSizeF& tamanho, const QRectF& area,
               const QList<QRectF>& ocupados)
{
    double esquerda = x - tamanho.width() / 2;
    esquerda = std::min(esquerda, area.right() - tamanho.width());
    esquerda = std::max(esquerda, area.left());
    for (int passo = 0; passo <= tamanho.width() / 4; ++passo)
        for (const int lado : {1, -1}) {
            const QRectF caixa(QPointF(esquerda + lado * passo, topo), tamanho);
            if (caixa.left() <= x && x <= caixa.right() && Livre(caixa, area, ocupados))
                return caixa;
        }
    return {};
}

} // namespace

QList<QRectF> PosicionaMarcas(const QList<QPointF>& Pontos, const QList<QSizeF>& Tamanhos,
                              const QRectF& Area, const QList<QRectF>& Obstaculos)
{
    QList<QRectF> ocupados = Obstaculos;
    QList<QRectF> caixas;
    for (qsizetype i = 0; i < Pontos.size(); ++i) {
        const QPointF p = Pontos.at(i);
        const QSizeF tamanho = Tamanhos.at(i);
        // Above a peak, below a dip: the line then leaves the box alone.
        const double anterior = Pontos.at(i > 0 ? i - 1 : i).y();
        const double seguinte = Pontos.at(i + 1 < Pontos.size() ? i + 1 : i).y();
        const bool acimaPrimeiro = p.y() <= (anterior + seguinte) / 2; // y grows downwards
        const double acima = p.y() - AFASTAMENTO - tamanho.height();
        const double abaixo = p.y() + AFASTAMENTO;
        QRectF escolhida;
        for (double topo : acimaPrimeiro ? std::array{acima, abaixo} : std::array{abaixo, acima}) {
            escolhida = Encaixa(p.x(), topo, tamanho, Area, ocupados);
            if (!escolhida.isEmpty())
                break;
        }
        caixas << escolhida;
        if (!escolhida.isEmpty())
            ocupados << escolhida;
    }
    return caixas;
}
