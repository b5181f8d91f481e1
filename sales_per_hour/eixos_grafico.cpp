#include "sales_per_hour/eixos_grafico.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// The value axis is cut into about this many steps.
constexpr int PASSOS_VALORES = 4;
// A day without sales still shows a scale of money, not of fractions of it.
constexpr double TOPO_SEM_VENDAS = 1000;
constexpr int PIXELS_ROTULOS_EIXOS = 11;

// The least of 1, 2 or 5 times a power of ten, and at least 1, that is no
// less than bruto.
double PassoRedondo(double bruto)
{
    if (bruto <= 1)
        return 1;
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    for (double fator : {1.0, 2.0, 5.0, 10.0})
        if (fator * potencia >= bruto * (1 - 1e-9))
            return fator * potencia;
    return 10 * potencia;
}

} // namespace

TEixosGrafico::TEixosGrafico(QChart* Grafico, int SeparacaoRotulos)
    : FGrafico(Grafico),
      FSeparacaoRotulos(SeparacaoRotulos),
      FHoras(new QCategoryAxis),
      FValores(new QValueAxis)
{
    FHoras->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    FHoras->setStartValue(-0.5);
    FHoras->setRange(-0.5, 0.5);
    FHoras->setGridLineVisible(false);
    // The labels are spaced to fit (DistribuiRotulos); Qt's own cut would
    // leave "..." where a label once did not fit.
    FHoras->setTruncateLabels(false);
    Grafico->addAxis(FHoras, Qt::AlignBottom);
    FValores->setTickType(QValueAxis::TicksDynamic);
    FValores->setTickAnchor(0);
    FValores->setLabelFormat(QStringLiteral("%.0f"));
    Grafico->addAxis(FValores, Qt::AlignLeft);
    SetTamanhoRotulos(PIXELS_ROTULOS_EIXOS);
    AjustaEscala({});
}

void TEixosGrafico::SetTamanhoRotulos(int Tamanho)
{
    for (QAbstractAxis* eixo :
         {static_cast<QAbstractAxis*>(FHoras), static_cast<QAbstractAxis*>(FValores)}) {
        QFont fonte = eixo->labelsFont();
        fonte.setPixelSize(Tamanho);
        eixo->setLabelsFont(fonte);
    }
    FPassoRotulos = 0;
    DistribuiRotulos();
}

void TEixosGrafico::Prende(QXYSeries* Serie) const
{
    Serie->attachAxis(FHoras);
    Serie->attachAxis(FValores);
}

void TEixosGrafico::Mostra(const QStringList& Rotulos,
                           std::initializer_list<const QLineSeries*> Series)
{
    FRotulos = Rotulos;
    FHoras->setRange(-0.5, std::max<qsizetype>(FRotulos.size(), 1) - 0.5);
    AjustaEscala(Series);
    FPassoRotulos = 0;
    DistribuiRotulos();
}

// Whole, round steps from 0, wide enough for every value of the lines.
void TEixosGrafico::AjustaEscala(std::initializer_list<const QLineSeries*> Series)
{
    double menor = 0;
    double maior = 0;
    for (const QLineSeries* serie : Series) {
        if (!serie)
            continue;
        for (const QPointF& ponto : serie->points()) {
            menor = std::min(menor, ponto.y());
            maior = std::max(maior, ponto.y());
        }
    }
    if (menor == 0 && maior == 0)
        maior = TOPO_SEM_VENDAS;
    const double passo = PassoRedondo((maior - menor) / PASSOS_VALORES);
    FValores->setTickInterval(passo);
    FValores->setRange(std::floor(menor / passo) * passo, std::ceil(maior / passo) * passo);
}

void TEixosGrafico::DistribuiRotulos()
{
    const qsizetype pontos = FRotulos.size();
    int passo = 1;
    const double largura = FGrafico->plotArea().width();
    if (pontos > 0 && largura > 0) {
        const QFontMetricsF medidas(FHoras->labelsFont());
        double maior = 0;
        for (const QString& rotulo : FRotulos)
            maior = std::max(maior, medidas.horizontalAdvance(rotulo));
        const double necessario = maior * (1 + FSeparacaoRotulos / 100.0);
        const double porPonto = largura / pontos;
        while (passo < pontos && passo * porPonto < necessario)
            ++passo;
    }
    if (passo == FPassoRotulos)
        return;
    FPassoRotulos = passo;
    for (const QString& rotulo : FHoras->categoriesLabels())
        FHoras->remove(rotulo);
    FHoras->setStartValue(-0.5);
    for (qsizetype i = 0; i < pontos; i += passo)
        FHoras->append(FRotulos.at(i), i);
}

QStringList TEixosGrafico::RotulosVisiveis() const
{
    return FHoras->categoriesLabels();
}
