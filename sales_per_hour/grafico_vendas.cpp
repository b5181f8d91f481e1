#include "sales_per_hour/grafico_vendas.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

const QColor AZUL = QColor::fromRgba(0xFF0000FF);
const QColor COR_BORDA = QColor::fromRgba(0xFFB4B4B4);

// Distances from the panel's edges to the axes, in percent of its size.
constexpr double MARGEM_ESQUERDA = 0.03;
constexpr double MARGEM_TOPO = 0.04;
constexpr double MARGEM_DIREITA = 0.10;
constexpr double MARGEM_BASE = 0.10;

constexpr int TICKS_VALORES = 5;

QLocale LocaleNumeros()
{
    QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    brasil.setNumberOptions(QLocale::OmitGroupSeparator);
    return brasil;
}

// The fewest decimals that write every step of the axis exactly, up to two.
int CasasDecimais(double passo)
{
    int casas = 0;
    while (casas < 2) {
        const double escalado = passo * std::pow(10.0, casas);
        if (std::abs(escalado - std::round(escalado)) < 1e-6)
            break;
        ++casas;
    }
    return casas;
}

} // namespace

TGraficoVendas::TGraficoVendas(const QString& Titulo, int SeparacaoRotulos, QWidget* parent)
    : QChartView(parent),
      FSeparacaoRotulos(SeparacaoRotulos),
      FEixoHoras(new QCategoryAxis),
      FEixoValores(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::NoBrush);
    setStyleSheet(QStringLiteral("background: transparent"));
    viewport()->setAutoFillBackground(false);

    QChart* grafico = chart();
    grafico->layout()->setContentsMargins(0, 0, 0, 0);
    grafico->setBackgroundRoundness(4);
    grafico->setBackgroundBrush(Qt::NoBrush);
    grafico->setBackgroundPen(QPen(COR_BORDA, 1));
    grafico->setDropShadowEnabled(false);
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->legend()->hide();
    grafico->setLocalizeNumbers(true);
    grafico->setLocale(LocaleNumeros());

    // Qt centres its own title; this one stands at the top left.
    FTitulo = new QGraphicsSimpleTextItem(grafico);
    QFont fonteTitulo = font();
    fonteTitulo.setPixelSize(15);
    fonteTitulo.setBold(true);
    FTitulo->setFont(fonteTitulo);
    FTitulo->setBrush(AZUL);
    FTitulo->setText(Titulo);

    FEixoHoras->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    FEixoHoras->setStartValue(-0.5);
    FEixoHoras->setRange(-0.5, 0.5);
    FEixoHoras->setGridLineVisible(false);
    // The labels are spaced to fit (DistribuiRotulos); Qt's own cut would
    // leave "..." where a label once did not fit.
    FEixoHoras->setTruncateLabels(false);
    grafico->addAxis(FEixoHoras, Qt::AlignBottom);
    FEixoValores->setRange(0, 1);
    grafico->addAxis(FEixoValores, Qt::AlignLeft);

    connect(grafico, &QChart::plotAreaChanged, this, [this] {
        DistribuiRotulos();
        viewport()->update();
    });
}

void TGraficoVendas::setTitulo(const QString& Titulo)
{
    FTitulo->setText(Titulo);
    AjustaMargens();
}

QString TGraficoVendas::Titulo() const
{
    return FTitulo->text();
}

void TGraficoVendas::setTamanhoRotulosEixos(int Tamanho)
{
    for (QAbstractAxis* eixo : {static_cast<QAbstractAxis*>(FEixoHoras),
                                static_cast<QAbstractAxis*>(FEixoValores)}) {
        QFont fonte = eixo->labelsFont();
        fonte.setPixelSize(Tamanho);
        eixo->setLabelsFont(fonte);
    }
    FPassoRotulos = 0;
    DistribuiRotulos();
}

QLineSeries* TGraficoVendas::NovaSerie(const QString& Nome)
{
    if (FSerie) {
        chart()->removeSeries(FSerie);
        delete FSerie;
    }
    FSerie = new QLineSeries;
    FSerie->setObjectName(Nome);
    FSerie->setPen(QPen(AZUL, 2));
    FSerie->setPointsVisible(true);
    FSerie->setMarkerSize(3);
    chart()->addSeries(FSerie);
    FSerie->attachAxis(FEixoHoras);
    FSerie->attachAxis(FEixoValores);
    FMarcasVisiveis = false;
    viewport()->update();
    return FSerie;
}

void TGraficoVendas::MostraSerie(const QStringList& Rotulos)
{
    FRotulos = Rotulos;
    FEixoHoras->setRange(-0.5, std::max<qsizetype>(FRotulos.size(), 1) - 0.5);
    AjustaEscala();
    FPassoRotulos = 0;
    DistribuiRotulos();
    viewport()->update();
}

void TGraficoVendas::AjustaEscala()
{
    double menor = 0;
    double maior = 0;
    if (FSerie) {
        for (const QPointF& ponto : FSerie->points()) {
            menor = std::min(menor, ponto.y());
            maior = std::max(maior, ponto.y());
        }
    }
    if (maior == menor)
        maior = menor + 1;
    // Nice numbers change the tick count: start from the same one each time.
    FEixoValores->setTickCount(TICKS_VALORES);
    FEixoValores->setRange(menor, maior);
    FEixoValores->applyNiceNumbers();
    const double passo = (FEixoValores->max() - FEixoValores->min())
                         / std::max(FEixoValores->tickCount() - 1, 1);
    FEixoValores->setLabelFormat(QStringLiteral("%.%1f").arg(CasasDecimais(passo)));
}

// Labels every point while they fit; otherwise every second, third... point.
void TGraficoVendas::DistribuiRotulos()
{
    const qsizetype pontos = FRotulos.size();
    int passo = 1;
    const double largura = chart()->plotArea().width();
    if (pontos > 0 && largura > 0) {
        const QFontMetricsF medidas(FEixoHoras->labelsFont());
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
    for (const QString& rotulo : FEixoHoras->categoriesLabels())
        FEixoHoras->remove(rotulo);
    FEixoHoras->setStartValue(-0.5);
    for (qsizetype i = 0; i < pontos; i += passo)
        FEixoHoras->append(FRotulos.at(i), i);
}

QStringList TGraficoVendas::RotulosVisiveis() const
{
    return FEixoHoras->categoriesLabels();
}

void TGraficoVendas::setMarcasVisiveis(bool Visiveis)
{
    FMarcasVisiveis = Visiveis;
    viewport()->update();
}

QString TGraficoVendas::TextoMarca(double Valor)
{
    return LocaleNumeros().toString(Valor, 'f', 2);
}

// A mark stands above a point that is at least as high as the mean of its
// neighbours and below the others, so that a zigzag's marks do not collide.
void TGraficoVendas::drawForeground(QPainter* pintor, const QRectF& area)
{
    QChartView::drawForeground(pintor, area);
    if (!FMarcasVisiveis || !FSerie)
        return;
    pintor->save();
    QFont fonte = font();
    fonte.setPixelSize(9);
    pintor->setFont(fonte);
    const QFontMetricsF medidas(fonte);
    const QList<QPointF> pontos = FSerie->points();
    for (qsizetype i = 0; i < pontos.size(); ++i) {
        const double anterior = pontos.at(i > 0 ? i - 1 : i).y();
        const double seguinte = pontos.at(i + 1 < pontos.size() ? i + 1 : i).y();
        const bool acima = pontos.at(i).y() >= (anterior + seguinte) / 2;
        const QPointF posicao = chart()->mapToScene(chart()->mapToPosition(pontos.at(i), FSerie));
        const QString texto = TextoMarca(pontos.at(i).y());
        QRectF caixa(0, 0, medidas.horizontalAdvance(texto) + 4, medidas.height() + 1);
        const double distancia = caixa.height() / 2 + 5;
        caixa.moveCenter(posicao + QPointF(0, acima ? -distancia : distancia));
        pintor->setPen(QColor::fromRgba(0xFF808080));
        pintor->setBrush(QColor::fromRgba(0xF0FFFFE1));
        pintor->drawRect(caixa);
        pintor->setPen(Qt::black);
        pintor->drawText(caixa, Qt::AlignCenter, texto);
    }
    pintor->restore();
}

void TGraficoVendas::resizeEvent(QResizeEvent* evento)
{
    QChartView::resizeEvent(evento);
    AjustaMargens();
}

void TGraficoVendas::AjustaMargens()
{
    const int esquerda = qRound(width() * MARGEM_ESQUERDA);
    const int acimaTitulo = qRound(height() * MARGEM_TOPO / 2);
    FTitulo->setPos(esquerda + 2, acimaTitulo);
    const int topo = acimaTitulo + qRound(FTitulo->boundingRect().height())
                     + qRound(height() * MARGEM_TOPO);
    chart()->setMargins(QMargins(esquerda, topo, qRound(width() * MARGEM_DIREITA),
                                 qRound(height() * MARGEM_BASE)));
}
