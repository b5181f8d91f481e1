#include "sales_per_hour/grafico_vendas.h"

#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// The two charts as the gadget makes them.
struct Modelo {
    const char* nome;
    QSize tamanho;
    int separacao;
    bool curtas;
    int pixelsEixos; // 0: the chart's own
};
const Modelo RESUMO{"summary", {286, 186}, 10, true, 10};
const Modelo DETALHE{"detail", {389, 214}, 20, false, 0};

class GraficoTeste : public ::testing::Test {
protected:
    // A new chart on a new host, as the gadget makes it before it is shown;
    // with a reference line when referencia has values.
    TGraficoVendas* Grafico(const Modelo& m, const QList<double>& valores,
                            const QList<double>& referencia = {}, const QStringList& dicas = {})
    {
        hosts.push_back(std::make_unique<QWidget>());
        QWidget& host = *hosts.back();
        auto* grafico = new TGraficoVendas(QStringLiteral("Gráfico"), m.separacao, m.curtas, &host);
        grafico->setGeometry(QRect(QPoint(0, 0), m.tamanho));
        if (m.pixelsEixos)
            grafico->SetTamanhoRotulosEixos(m.pixelsEixos);
        QLineSeries* serie = grafico->NovaSerie(QStringLiteral("s"), !referencia.isEmpty());
        QStringList rotulos;
        for (double v : valores) {
            serie->append(rotulos.size(), v);
            rotulos << QStringLiteral("%1h").arg(8 + rotulos.size(), 2, 10, QLatin1Char('0'));
        }
        for (qsizetype i = 0; i < referencia.size(); ++i)
            grafico->Referencia()->append(i, referencia[i]);
        grafico->MostraSerie(rotulos, dicas);
        grafico->SetTitulo(QStringLiteral("Vendas por Hora"));
        host.resize(400, 230);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        QTest::qWait(50);
        return grafico;
    }

    // The value axis's labels, bottom to top.
    static QStringList RotulosValores(const TGraficoVendas* grafico)
    {
        const double esquerda = grafico->chart()->plotArea().left();
        QList<const QGraphicsTextItem*> itens;
        for (const QGraphicsItem* item : grafico->scene()->items())
            if (const auto* texto = dynamic_cast<const QGraphicsTextItem*>(item))
                if (texto->isVisible() && !texto->toPlainText().isEmpty()
                    && texto->sceneBoundingRect().center().x() < esquerda)
                    itens << texto;
        std::sort(itens.begin(), itens.end(), [](auto* a, auto* b) {
            return a->sceneBoundingRect().center().y() > b->sceneBoundingRect().center().y();
        });
        QStringList textos;
        for (const QGraphicsTextItem* item : itens)
            textos << item->toPlainText();
        return textos;
    }

    std::vector<std::unique_ptr<QWidget>> hosts;
};

TEST_F(GraficoTeste, EixoDeValoresEmPassosInteirosERedondosDesdeZero)
{
    struct Caso {
        const char* nome;
        QList<double> valores;
        QStringList rotulos;
    };
    const Caso casos[] = {
        {"a day without sales", {0, 0, 0}, {"0", "500", "1.000"}},
        {"cents only", {0.4, 0.1, 0}, {"0", "1"}},
        {"hundreds", {300, 120.1, 55.55, 0}, {"0", "100", "200", "300"}},
        {"thousands", {1363.99, 1122.12, 895.5}, {"0", "500", "1.000", "1.500"}},
        {"ten thousands", {12000, 3000}, {"0", "5.000", "10.000", "15.000"}},
        {"returns only", {-20, 0, -5}, {"-20", "-15", "-10", "-5", "0"}},
        {"sales and returns", {-300, 900}, {"-500", "0", "500", "1.000"}},
    };
    for (const Modelo& m : {RESUMO, DETALHE})
        for (const Caso& c : casos) {
            TGraficoVendas* grafico = Grafico(m, c.valores);
            EXPECT_EQ(RotulosValores(grafico), c.rotulos) << m.nome << ", " << c.nome;
        }
}

TEST_F(GraficoTeste, NenhumaBordaNaBeiraDoGrafico)
{
    for (const Modelo& m : {RESUMO, DETALHE}) {
        TGraficoVendas* grafico = Grafico(m, {100, 200, 50});
        QImage imagem(grafico->size(), QImage::Format_ARGB32);
        imagem.fill(Qt::transparent);
        static_cast<QWidget*>(grafico)->render(&imagem, QPoint(), QRegion(), QWidget::DrawChildren);
        for (int x = 0; x < imagem.width(); ++x)
            for (int y : {0, imagem.height() - 1})
                ASSERT_EQ(qAlpha(imagem.pixel(x, y)), 0) << m.nome << " at " << x << "," << y;
        for (int y = 0; y < imagem.height(); ++y)
            for (int x : {0, imagem.width() - 1})
                ASSERT_EQ(qAlpha(imagem.pixel(x, y)), 0) << m.nome << " at " << x << "," << y;
    }
}

// A mark stands right above or below its point and above the hour labels,
// clear of the axis labels and of the other marks; one that has no room there
// is left out rather than put where it would read as another point's. On
// these days most have room.
TEST_F(GraficoTeste, MarcasLegiveisJuntoAoSeuPonto)
{
    struct Caso {
        const char* nome;
        QList<double> valores;
    };
    const Caso casos[] = {
        {"close values side by side",
         {420.5, 1122.12, 1363.99, 895.4, 1000, 1500.75, 980, 1200, 1300.3, 700, 0}},
        {"zero at the first hour", {0, 1363.99, 1122.12, 0, 0, 895.77, 0, 0, 10, 0, 0}},
        {"a flat day", QList<double>(11, 0)},
        {"highest at both ends", {1500, 200, 100, 50, 20, 10, 20, 50, 100, 200, 1500}},
        {"a small hour beside big ones", {2168.91, 2062.68, 222, 2500, 2400}},
    };
    for (const Modelo& m : {RESUMO, DETALHE})
        for (const Caso& c : casos) {
            TGraficoVendas* grafico = Grafico(m, c.valores);
            grafico->SetMarcasVisiveis(true);
            const QList<QRectF> marcas = grafico->CaixasMarcas();
            const QList<QRectF> rotulos = grafico->CaixasRotulos();
            const QRectF vista(grafico->viewport()->rect());
            QChart* chart = grafico->chart();
            const double eixo = chart->mapToScene(chart->plotArea()).boundingRect().bottom();
            ASSERT_EQ(marcas.size(), c.valores.size()) << m.nome << ", " << c.nome;
            ASSERT_FALSE(rotulos.isEmpty()) << m.nome << ", " << c.nome;
            int colocadas = 0;
            for (qsizetype i = 0; i < marcas.size(); ++i) {
                const std::string onde =
                    std::string(m.nome) + ", " + c.nome + ", point " + std::to_string(i);
                const QRectF& marca = marcas[i];
                if (marca.isEmpty())
                    continue;
                ++colocadas;
                const QPointF ponto = chart->mapToScene(
                    chart->mapToPosition(grafico->Serie()->at(int(i)), grafico->Serie()));
                const double distancia = std::min(std::abs(marca.bottom() - ponto.y()),
                                                  std::abs(marca.top() - ponto.y()));
                EXPECT_LE(distancia, 5) << onde << ": next to its point";
                EXPECT_TRUE(marca.left() <= ponto.x() && ponto.x() <= marca.right())
                    << onde << ": over its point";
                EXPECT_LE(marca.bottom(), eixo) << onde << ": above the hour labels";
                EXPECT_TRUE(vista.contains(marca)) << onde;
                for (const QRectF& rotulo : rotulos)
                    EXPECT_FALSE(marca.intersects(rotulo)) << onde;
                for (qsizetype j = 0; j < i; ++j)
                    EXPECT_FALSE(marca.intersects(marcas[j])) << onde << " and " << j;
            }
            EXPECT_GE(2 * colocadas, marcas.size())
                << m.nome << ", " << c.nome << ": most have room";
        }
}

// One format in both views: the detail's value with its cents, the summary's
// the same rounded to whole units.
TEST_F(GraficoTeste, TextoDasMarcas)
{
    struct Caso {
        double valor;
        const char* inteiro;
        const char* curto;
    };
    const Caso casos[] = {
        {2168.91, "2.168,91", "2.169"},
        {1000000, "1.000.000,00", "1.000.000"},
        {-1234.5, "-1.234,50", "-1.235"},
        {-0.25, "-0,25", "0"},
        {0, "0,00", "0"},
        {895.4, "895,40", "895"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(TGraficoVendas::TextoMarca(c.valor), QString::fromUtf8(c.inteiro)) << c.valor;
        EXPECT_EQ(TGraficoVendas::TextoMarca(c.valor, true), QString::fromUtf8(c.curto)) << c.valor;
    }
}

// Every hour where there is room (the detail view, also with four-digit
// values beside the axis), every other one where there is not.
TEST_F(GraficoTeste, RotuloDeCadaHoraOndeCabe)
{
    const QList<double> dia = {372.99, 465.12,  1122.12, 1363.99, 2642.13, 1217.92,
                               486.04, 1028.80, 858.95,  2366.24, 1008.24};
    struct Caso {
        const Modelo& modelo;
        QList<double> valores;
        int passo;
    };
    const Caso casos[] = {
        {DETALHE, dia, 1},
        {DETALHE, QList<double>(11, 0), 1},
        {RESUMO, dia, 2},
    };
    for (const Caso& c : casos) {
        TGraficoVendas* grafico = Grafico(c.modelo, c.valores);
        QStringList esperados;
        for (qsizetype i = 0; i < grafico->Rotulos().size(); i += c.passo)
            esperados << grafico->Rotulos().at(i);
        EXPECT_EQ(grafico->RotulosVisiveis().join(u' ').toStdString(),
                  esperados.join(u' ').toStdString())
            << c.modelo.nome;
    }
}

TEST_F(GraficoTeste, ReferenciaAtrasDaLinhaDoDiaNaMesmaEscala)
{
    for (const Modelo& m : {RESUMO, DETALHE}) {
        TGraficoVendas* grafico = Grafico(m, {100, 200, 50}, {1500, 0, -300});
        EXPECT_EQ(RotulosValores(grafico), QStringList({"-500", "0", "500", "1.000", "1.500"}))
            << m.nome << ": the axis covers both lines";
        EXPECT_EQ(grafico->chart()->series(),
                  (QList<QAbstractSeries*>{grafico->Referencia(), grafico->Serie()}))
            << m.nome << ": drawn first, behind";
        EXPECT_EQ(grafico->Referencia()->pen().style(), Qt::DashLine) << m.nome;
        EXPECT_FALSE(grafico->Referencia()->pointsVisible()) << m.nome;
        EXPECT_NE(grafico->Referencia()->color(), grafico->Serie()->color()) << m.nome;

        grafico->NovaSerie(QStringLiteral("s"), false);
        EXPECT_EQ(grafico->Referencia(), nullptr) << m.nome;
        EXPECT_EQ(grafico->chart()->series().size(), 1) << m.nome;
    }
}

// The running hour's point is a ring: its middle shows no blue.
TEST_F(GraficoTeste, PontoAbertoSoUmAnel)
{
    for (const Modelo& m : {RESUMO, DETALHE}) {
        TGraficoVendas* grafico = Grafico(m, {100, 200, 50});
        const auto meio = [&](int i) {
            const QPointF ponto =
                grafico->chart()->mapToPosition(grafico->Serie()->at(i), grafico->Serie());
            const QPoint onde = grafico->mapFromScene(grafico->chart()->mapToScene(ponto));
            return grafico->viewport()->grab().toImage().pixelColor(onde);
        };
        const auto azul = [](const QColor& cor) {
            return cor.blue() > 200 && cor.red() < 100 && cor.green() < 100;
        };
        grafico->SetPontoAberto(1);
        EXPECT_EQ(grafico->PontoAberto(), 1) << m.nome;
        EXPECT_FALSE(azul(meio(1))) << m.nome << ": " << meio(1).name().toStdString();
        EXPECT_TRUE(azul(meio(0))) << m.nome << ": " << meio(0).name().toStdString();
        grafico->SetPontoAberto(std::nullopt);
        EXPECT_TRUE(azul(meio(1))) << m.nome << ": solid again";
        grafico->SetPontoAberto(3);
        EXPECT_EQ(grafico->PontoAberto(), std::nullopt) << m.nome << ": no such point";
    }
}

// The text at the top right (the day's total, how far the goal is) stays
// clear of the title and of the marks, inside the chart.
TEST_F(GraficoTeste, DestaqueNoCantoLivreDasMarcas)
{
    for (const Modelo& m : {RESUMO, DETALHE}) {
        TGraficoVendas* grafico = Grafico(m, {1500, 200, 100, 50, 20, 10, 20, 50, 100, 1400, 1500});
        grafico->SetDestaque(QStringLiteral("R$ 1.234.567,89"), 0.62);
        grafico->SetMarcasVisiveis(true);
        EXPECT_EQ(grafico->Destaque(), QStringLiteral("R$ 1.234.567,89"));
        const QList<QRectF> rotulos = grafico->CaixasRotulos();
        QRectF titulo;
        QRectF destaque;
        for (const QRectF& caixa : rotulos) {
            if (caixa.top() < 10 && caixa.left() < 20)
                titulo = caixa;
            else if (caixa.top() < 10)
                destaque = caixa;
        }
        ASSERT_FALSE(titulo.isEmpty()) << m.nome;
        ASSERT_FALSE(destaque.isEmpty()) << m.nome;
        EXPECT_FALSE(destaque.intersects(titulo)) << m.nome;
        EXPECT_LE(destaque.right(), grafico->width() - 5) << m.nome;
        for (const QRectF& marca : grafico->CaixasMarcas())
            for (const QRectF& rotulo : rotulos)
                EXPECT_FALSE(marca.intersects(rotulo)) << m.nome;

        EXPECT_TRUE(grafico->DestaqueVisivel()) << m.nome;

        grafico->SetDestaque(QString(), 0.5);
        EXPECT_EQ(grafico->FracaoDestaque(), std::nullopt) << m.nome << ": no text, no bar";
        EXPECT_EQ(grafico->CaixasRotulos().size(), rotulos.size() - 2) << m.nome;

        grafico->SetDestaque(QStringLiteral("R$ 123.456.789.012,34 até agora, na semana passada"),
                             0.5);
        EXPECT_FALSE(grafico->DestaqueVisivel()) << m.nome << ": it would reach the title";
        EXPECT_EQ(grafico->CaixasRotulos().size(), rotulos.size() - 2) << m.nome;
    }
}

} // namespace
