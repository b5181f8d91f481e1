#include "sales_per_hour/marcas_grafico.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const QSizeF CAIXA(40, 12);
const QRectF AREA(0, 0, 200, 100);

enum class Lado { Acima, Abaixo, Fora };

struct Caso {
    const char* nome;
    QList<QPointF> pontos;
    QList<QRectF> obstaculos;
    QList<Lado> lados; // where each point's box should end up
};

Lado LadoDe(const QRectF& caixa, const QPointF& ponto)
{
    if (caixa.isEmpty())
        return Lado::Fora;
    return caixa.bottom() <= ponto.y() ? Lado::Acima : Lado::Abaixo;
}

TEST(MarcasGrafico, CaixasJuntoAoPontoSemSobreporNemSairDaArea)
{
    const Caso casos[] = {
        {"peak above, dip below",
         {{50, 50}, {100, 30}, {150, 60}},
         {},
         {Lado::Abaixo, Lado::Acima, Lado::Abaixo}},
        // Close points on one level: the second box cannot sit beside the
        // first, so it takes the other side.
        {"neighbours on one level",
         {{60, 50}, {80, 50}, {100, 50}},
         {},
         {Lado::Acima, Lado::Abaixo, Lado::Acima}},
        {"point at the top edge", {{100, 5}}, {}, {Lado::Abaixo}},
        {"point at the bottom edge", {{100, 98}}, {}, {Lado::Acima}},
        // Its only free place would be a box height further up, beside the
        // other point's mark.
        {"no room next to the point", {{100, 98}, {120, 90}}, {}, {Lado::Acima, Lado::Fora}},
        {"room only further away",
         {{100, 50}},
         {QRectF(60, 30, 80, 16), QRectF(60, 54, 80, 16)},
         {Lado::Fora}},
        {"axis label under a low point", {{100, 70}}, {QRectF(70, 74, 60, 20)}, {Lado::Acima}},
        {"title over a high point",
         {{30, 40}, {60, 60}},
         {QRectF(0, 0, 120, 30)},
         {Lado::Abaixo, Lado::Abaixo}},
        // The centred place overlaps the label by a few pixels: the box
        // slides off it and still stands over its point.
        {"axis label beside the centred place", {{60, 50}}, {QRectF(0, 30, 45, 30)}, {Lado::Acima}},
        {"box pushed in from the left edge", {{3, 50}}, {}, {Lado::Acima}},
        {"box pushed in from the right edge", {{199, 50}}, {}, {Lado::Acima}},
        {"no free place", {{100, 50}}, {QRectF(0, 0, 200, 100)}, {Lado::Fora}},
        // Many points close together: some stay out, none goes elsewhere.
        {"crowded", {{20, 50}, {30, 52}, {40, 48}, {50, 51}, {60, 49}, {70, 50}, {80, 52}}, {}, {}},
    };
    for (const Caso& c : casos) {
        QList<QSizeF> tamanhos(c.pontos.size(), CAIXA);
        const QList<QRectF> caixas = PosicionaMarcas(c.pontos, tamanhos, AREA, c.obstaculos);
        ASSERT_EQ(caixas.size(), c.pontos.size()) << c.nome;
        int colocadas = 0;
        for (qsizetype i = 0; i < caixas.size(); ++i) {
            const QRectF& caixa = caixas[i];
            const QPointF& ponto = c.pontos[i];
            if (i < c.lados.size()) {
                EXPECT_EQ(LadoDe(caixa, ponto), c.lados[i]) << c.nome << ", point " << i;
            }
            if (caixa.isEmpty())
                continue;
            ++colocadas;
            EXPECT_EQ(caixa.size(), CAIXA) << c.nome;
            EXPECT_TRUE(AREA.contains(caixa)) << c.nome << ", point " << i;
            EXPECT_FALSE(caixa.contains(ponto)) << c.nome << ", point " << i;
            EXPECT_LE(
                std::min(std::abs(caixa.top() - ponto.y()), std::abs(caixa.bottom() - ponto.y())),
                4)
                << c.nome << ", point " << i << ": the box is next to its point";
            EXPECT_TRUE(caixa.left() <= ponto.x() && ponto.x() <= caixa.right())
                << c.nome << ", point " << i << ": the box stands over its point";
            for (const QRectF& obstaculo : c.obstaculos)
                EXPECT_FALSE(caixa.intersects(obstaculo)) << c.nome << ", point " << i;
            for (qsizetype j = 0; j < i; ++j)
                EXPECT_FALSE(caixa.intersects(caixas[j]))
                    << c.nome << ", points " << j << " and " << i;
        }
        if (c.lados.isEmpty()) {
            EXPECT_GE(colocadas, 2) << c.nome << ": room above and below takes some of them";
        }
    }
}

} // namespace
