#include "sales_per_hour/marcas_grafico.h"

#include <algorithm>
#include <array>

namespace {

// Gap between a point and its box, and between boxes stacked on one side.
constexpr double AFASTAMENTO = 4;
constexpr double ENTRE_CAIXAS = 1;
// How far from its point a box may be pushed, in box heights, on each side.
constexpr int NIVEIS = 3;

bool Livre(const QRectF& caixa, const QRectF& area, const QList<QRectF>& ocupados)
{
    if (!area.contains(caixa))
        return false;
    return std::none_of(ocupados.begin(), ocupados.end(),
                        [&](const QRectF& r) { return !r.isEmpty() && r.intersects(caixa); });
}

// A box centred over x, moved sideways no further than needed to stay inside
// the area.
QRectF NaHorizontal(double x, double topo, const QSizeF& tamanho, const QRectF& area)
{
    double esquerda = x - tamanho.width() / 2;
    esquerda = std::min(esquerda, area.right() - tamanho.width());
    esquerda = std::max(esquerda, area.left());
    return QRectF(QPointF(esquerda, topo), tamanho);
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
        QRectF escolhida;
        for (int nivel = 0; nivel < NIVEIS && escolhida.isEmpty(); ++nivel) {
            const double recuo = AFASTAMENTO + nivel * (tamanho.height() + ENTRE_CAIXAS);
            const double acima = p.y() - recuo - tamanho.height();
            const double abaixo = p.y() + recuo;
            const std::array<double, 2> lados =
                acimaPrimeiro ? std::array{acima, abaixo} : std::array{abaixo, acima};
            for (double topo : lados) {
                const QRectF caixa = NaHorizontal(p.x(), topo, tamanho, Area);
                if (Livre(caixa, Area, ocupados)) {
                    escolhida = caixa;
                    break;
                }
            }
        }
        caixas << escolhida;
        if (!escolhida.isEmpty())
            ocupados << escolhida;
    }
    return caixas;
}
