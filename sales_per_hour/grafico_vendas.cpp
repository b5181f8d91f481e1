#include "sales_per_hour/grafico_vendas.h"

#include "base/brasil.h"
#include "sales_per_hour/eixos_grafico.h"
#include "sales_per_hour/marcas_grafico.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QLineSeries>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {

const QColor AZUL = QColor::fromRgba(0xFF0000FF);
// The reference line: quieter than the day's, dashed.
const QColor CINZA_REFERENCIA = QColor::fromRgba(0xFF6E6E6E);
// Inside a hollow point: the light end of the view's gradient.
const QColor FUNDO_PONTO_ABERTO = QColor::fromRgba(0xFFE8E8E8);
const QColor TRILHO_DESTAQUE = QColor::fromRgba(0x500000FF);

// Distances from the panel's edges to the axes, in percent of its size.
constexpr double MARGEM_ESQUERDA = 0.03;
constexpr double MARGEM_TOPO = 0.04;
constexpr double MARGEM_DIREITA = 0.10;
constexpr double MARGEM_BASE = 0.10;

constexpr int PIXELS_MARCAS = 9;
constexpr int PIXELS_DESTAQUE = 11;
constexpr double ALTURA_BARRA_DESTAQUE = 3;
constexpr double RAIO_PONTO_ABERTO = 3.5;
// The least gap between the title and the text at the top right.
constexpr double ESPACO_DESTAQUE = 12;
// How far above and below the plot a pointer still reaches its hour.
constexpr double FOLGA_DICA = 8;

} // namespace

TGraficoVendas::TGraficoVendas(const QString& Titulo, int SeparacaoRotulos, bool MarcasCurtas,
                               QWidget* parent)
    : QChartView(parent),
      FMarcasCurtas(MarcasCurtas)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::NoBrush);
    // The points' tooltips take their look from here too: they must not
    // become see-through with the chart, and look like the marks.
    setStyleSheet(QStringLiteral("* { background: transparent; }"
                                 "QToolTip { background: #ffffe1; color: black;"
                                 " border: 1px solid #808080; padding: 1px; }"));
    viewport()->setAutoFillBackground(false);

    QChart* grafico = chart();
    grafico->layout()->setContentsMargins(0, 0, 0, 0);
    grafico->setBackgroundRoundness(4);
    grafico->setBackgroundBrush(Qt::NoBrush);
    // A line around the panel would cross the view under the branch name.
    grafico->setBackgroundPen(Qt::NoPen);
    grafico->setDropShadowEnabled(false);
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->legend()->hide();
    grafico->setLocalizeNumbers(true);
    grafico->setLocale(LOCALE_BRASIL);

    // Qt centres its own title; this one stands at the top left.
    FTitulo = new QGraphicsSimpleTextItem(grafico);
    QFont fonteTitulo = font();
    fonteTitulo.setPixelSize(15);
    fonteTitulo.setBold(true);
    FTitulo->setFont(fonteTitulo);
    FTitulo->setBrush(AZUL);
    FTitulo->setText(Titulo);

    FDestaque = new QGraphicsSimpleTextItem(grafico);
    QFont fonteDestaque = font();
    fonteDestaque.setPixelSize(PIXELS_DESTAQUE);
    fonteDestaque.setBold(true);
    FDestaque->setFont(fonteDestaque);
    FDestaque->setBrush(AZUL);
    FTrilhoDestaque = new QGraphicsRectItem(grafico);
    FTrilhoDestaque->setPen(Qt::NoPen);
    FTrilhoDestaque->setBrush(TRILHO_DESTAQUE);
    FBarraDestaque = new QGraphicsRectItem(grafico);
    FBarraDestaque->setPen(Qt::NoPen);
    FBarraDestaque->setBrush(AZUL);
    SetDestaque(QString(), std::nullopt);

    FEixos = std::make_unique<TEixosGrafico>(grafico, SeparacaoRotulos);

    connect(grafico, &QChart::plotAreaChanged, this, [this] {
        FEixos->DistribuiRotulos();
        viewport()->update();
    });
}

void TGraficoVendas::SetTitulo(const QString& Titulo)
{
    FTitulo->setText(Titulo);
    AjustaMargens();
}

QString TGraficoVendas::Titulo() const
{
    return FTitulo->text();
}

TGraficoVendas::~TGraficoVendas() = default;

void TGraficoVendas::SetTamanhoRotulosEixos(int Tamanho)
{
    FEixos->SetTamanhoRotulos(Tamanho);
}

QLineSeries* TGraficoVendas::NovaSerie(const QString& Nome, bool ComReferencia)
{
    for (QLineSeries** serie : {&FSerie, &FReferencia}) {
        if (*serie) {
            chart()->removeSeries(*serie);
            delete *serie;
            *serie = nullptr;
        }
    }
    // Added first, so that it is drawn behind the day's line.
    if (ComReferencia) {
        FReferencia = new QLineSeries;
        FReferencia->setObjectName(Nome + QStringLiteral("Referencia"));
        FReferencia->setPen(QPen(CINZA_REFERENCIA, 1.5, Qt::DashLine));
        chart()->addSeries(FReferencia);
        FEixos->Prende(FReferencia);
    }
    FSerie = new QLineSeries;
    FSerie->setObjectName(Nome);
    FSerie->setPen(QPen(AZUL, 2));
    FSerie->setPointsVisible(true);
    FSerie->setMarkerSize(3);
    chart()->addSeries(FSerie);
    FEixos->Prende(FSerie);
    FMarcasVisiveis = false;
    FPontoAberto.reset();
    FDicas.clear();
    viewport()->update();
    return FSerie;
}

void TGraficoVendas::MostraSerie(const QStringList& Rotulos, const QStringList& Dicas)
{
    FDicas = Dicas;
    FEixos->Mostra(Rotulos, {FSerie, FReferencia});
    viewport()->update();
}

void TGraficoVendas::SetPontoAberto(std::optional<int> Indice)
{
    if (FSerie && FPontoAberto)
        FSerie->clearPointConfiguration(*FPontoAberto);
    FPontoAberto.reset();
    if (FSerie && Indice && *Indice >= 0 && *Indice < FSerie->count()) {
        FPontoAberto = Indice;
        // Its solid dot gives way to the ring drawn over the line.
        FSerie->setPointConfiguration(*Indice, QXYSeries::PointConfiguration::Visibility, false);
    }
    viewport()->update();
}

void TGraficoVendas::SetDestaque(const QString& Texto, std::optional<double> Fracao)
{
    FDestaque->setText(Texto);
    FFracaoDestaque = Texto.isEmpty() ? std::nullopt : Fracao;
    PosicionaDestaque();
    viewport()->update();
}

bool TGraficoVendas::DestaqueVisivel() const
{
    return FDestaque->isVisible();
}

QString TGraficoVendas::Destaque() const
{
    return FDestaque->text();
}

// Right-aligned on the title's line, as far from the right edge as the
// title is from the left; the bar under the text, as wide. A text that would
// come close to the title is left out.
void TGraficoVendas::PosicionaDestaque()
{
    const double margem = FTitulo->pos().x();
    const QRectF texto = FDestaque->boundingRect();
    const double esquerda = width() - margem - texto.width();
    const double topo = FTitulo->pos().y() + 1;
    const bool visivel = !FDestaque->text().isEmpty()
                         && esquerda >= margem + FTitulo->boundingRect().width() + ESPACO_DESTAQUE;
    FDestaque->setVisible(visivel);
    FTrilhoDestaque->setVisible(visivel && FFracaoDestaque);
    FBarraDestaque->setVisible(visivel && FFracaoDestaque);
    FDestaque->setPos(esquerda, topo);
    const QRectF trilho(esquerda, topo + texto.height() + 1, texto.width(), ALTURA_BARRA_DESTAQUE);
    FTrilhoDestaque->setRect(trilho);
    QRectF barra = trilho;
    barra.setWidth(trilho.width() * std::clamp(FFracaoDestaque.value_or(0.0), 0.0, 1.0));
    FBarraDestaque->setRect(barra);
}

std::optional<int> TGraficoVendas::PontoEm(const QPoint& Posicao, QRect* Coluna) const
{
    if (!FSerie || FSerie->count() == 0)
        return std::nullopt;
    const QRectF area = chart()->mapRectToScene(chart()->plotArea());
    const QPointF ponto = mapToScene(Posicao);
    const double largura = area.width() / FSerie->count();
    if (largura <= 0 || ponto.x() < area.left() || ponto.x() >= area.right()
        || ponto.y() < area.top() - FOLGA_DICA || ponto.y() > area.bottom() + FOLGA_DICA)
        return std::nullopt;
    const int indice = std::min(static_cast<int>((ponto.x() - area.left()) / largura),
                                static_cast<int>(FSerie->count()) - 1);
    const QRectF coluna(area.left() + indice * largura, area.top() - FOLGA_DICA, largura,
                        area.height() + 2 * FOLGA_DICA);
    *Coluna = mapFromScene(coluna).boundingRect();
    return indice;
}

bool TGraficoVendas::viewportEvent(QEvent* evento)
{
    if (evento->type() != QEvent::ToolTip)
        return QChartView::viewportEvent(evento);
    const auto* ajuda = static_cast<QHelpEvent*>(evento);
    QRect coluna;
    const std::optional<int> ponto = PontoEm(ajuda->pos(), &coluna);
    if (ponto && *ponto < FDicas.size() && !FDicas.at(*ponto).isEmpty())
        QToolTip::showText(ajuda->globalPos(), FDicas.at(*ponto), viewport(), coluna);
    else
        QToolTip::hideText();
    return true;
}

const QStringList& TGraficoVendas::Rotulos() const
{
    return FEixos->Rotulos();
}

QStringList TGraficoVendas::RotulosVisiveis() const
{
    return FEixos->RotulosVisiveis();
}

QValueAxis* TGraficoVendas::EixoValores() const
{
    return FEixos->Valores();
}

void TGraficoVendas::SetMarcasVisiveis(bool Visiveis)
{
    FMarcasVisiveis = Visiveis;
    viewport()->update();
}

QString TGraficoVendas::TextoMarca(double Valor, bool Curta)
{
    if (Curta)
        return LOCALE_BRASIL.toString(qRound64(Valor));
    return LOCALE_BRASIL.toString(Valor, 'f', 2);
}

QFont TGraficoVendas::FonteMarcas() const
{
    QFont fonte = font();
    fonte.setPixelSize(PIXELS_MARCAS);
    return fonte;
}

QList<QRectF> TGraficoVendas::CaixasMarcas() const
{
    if (!FSerie)
        return {};
    const QFontMetricsF medidas(FonteMarcas());
    QList<QPointF> posicoes;
    QList<QSizeF> tamanhos;
    for (const QPointF& ponto : FSerie->points()) {
        posicoes << chart()->mapToScene(chart()->mapToPosition(ponto, FSerie));
        const QString texto = TextoMarca(ponto.y(), FMarcasCurtas);
        tamanhos << QSizeF(std::ceil(medidas.horizontalAdvance(texto)) + 4,
                           std::ceil(medidas.height()) + 1);
    }
    // The box's outline is drawn half a pixel outside it. Below the bottom
    // axis are the hour labels: a mark there would read as an hour's.
    QRectF area = mapToScene(viewport()->rect()).boundingRect().adjusted(1, 1, -1, -1);
    area.setBottom(
        std::min(area.bottom(), chart()->mapToScene(chart()->plotArea()).boundingRect().bottom()));
    return PosicionaMarcas(posicoes, tamanhos, area, CaixasRotulos());
}

QList<QRectF> TGraficoVendas::CaixasRotulos() const
{
    QList<QRectF> caixas;
    for (const QGraphicsItem* item : scene()->items()) {
        if (!item->isVisible())
            continue;
        if (const auto* texto = dynamic_cast<const QGraphicsTextItem*>(item)) {
            if (texto->toPlainText().isEmpty())
                continue;
            const double margem = texto->document()->documentMargin();
            caixas << texto->sceneBoundingRect().adjusted(margem, margem, -margem, -margem);
        }
    }
    if (!FTitulo->text().isEmpty())
        caixas << FTitulo->sceneBoundingRect();
    if (FDestaque->isVisible())
        caixas << FDestaque->sceneBoundingRect();
    if (FTrilhoDestaque->isVisible())
        caixas << FTrilhoDestaque->sceneBoundingRect();
    return caixas;
}

void TGraficoVendas::drawForeground(QPainter* pintor, const QRectF& area)
{
    QChartView::drawForeground(pintor, area);
    if (FSerie && FPontoAberto && *FPontoAberto < FSerie->count()) {
        const QPointF centro =
            chart()->mapToScene(chart()->mapToPosition(FSerie->at(*FPontoAberto), FSerie));
        pintor->save();
        pintor->setRenderHint(QPainter::Antialiasing);
        pintor->setPen(QPen(AZUL, 1.5));
        pintor->setBrush(FUNDO_PONTO_ABERTO);
        pintor->drawEllipse(centro, RAIO_PONTO_ABERTO, RAIO_PONTO_ABERTO);
        pintor->restore();
    }
    if (!FMarcasVisiveis || !FSerie)
        return;
    const QList<QRectF> caixas = CaixasMarcas();
    const QList<QPointF> pontos = FSerie->points();
    pintor->save();
    pintor->setFont(FonteMarcas());
    for (qsizetype i = 0; i < caixas.size(); ++i) {
        if (caixas.at(i).isEmpty())
            continue;
        pintor->setPen(QColor::fromRgba(0xFF808080));
        pintor->setBrush(QColor::fromRgba(0xF0FFFFE1));
        pintor->drawRect(caixas.at(i));
        pintor->setPen(Qt::black);
        pintor->drawText(caixas.at(i), Qt::AlignCenter,
                         TextoMarca(pontos.at(i).y(), FMarcasCurtas));
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
    const int topo =
        acimaTitulo + qRound(FTitulo->boundingRect().height()) + qRound(height() * MARGEM_TOPO);
    chart()->setMargins(
        QMargins(esquerda, topo, qRound(width() * MARGEM_DIREITA), qRound(height() * MARGEM_BASE)));
    PosicionaDestaque();
}
