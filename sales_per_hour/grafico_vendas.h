#pragma once

#include <QChartView>
#include <QLocale>
#include <QStringList>
#include <memory>
#include <optional>

class QFont;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;
class TEixosGrafico;

// One view's chart of a day's sales by hour: blue points joined by a line
// over hour labels, the title at the top left, on a transparent panel with
// rounded corners so that the view's gradient shows through. The points'
// values (the marks) show only while asked for. Behind the blue line a
// quieter grey one may show a reference day; a point may be drawn hollow
// (an hour still running); each point may have a tooltip.
class TGraficoVendas : public QChartView {
    Q_OBJECT

public:
    // SeparacaoRotulos: the least gap between two hour labels, in percent of
    // the widest label; labels that would come closer are left out.
    // MarcasCurtas: marks without cents, for a chart too small for the full
    // values.
    TGraficoVendas(const QString& Titulo, int SeparacaoRotulos, bool MarcasCurtas, QWidget* parent);
    ~TGraficoVendas() override;

    void SetTitulo(const QString& Titulo);
    QString Titulo() const;
    // Font size, in pixels, of both axes' labels.
    void SetTamanhoRotulosEixos(int Tamanho);

    // Deletes the series and puts a new, empty one named Nome in its place,
    // with its marks hidden; with ComReferencia, an empty reference line
    // behind it, else none.
    QLineSeries* NovaSerie(const QString& Nome, bool ComReferencia);
    QLineSeries* Serie() const { return FSerie; }
    QLineSeries* Referencia() const { return FReferencia; }
    // Shows the series (and the reference) once filled; Rotulos names its
    // points in order, Dicas gives each its tooltip (none when empty).
    void MostraSerie(const QStringList& Rotulos, const QStringList& Dicas);
    const QStringList& Dicas() const { return FDicas; }
    // The point drawn hollow; none: every point solid.
    void SetPontoAberto(std::optional<int> Indice);
    std::optional<int> PontoAberto() const { return FPontoAberto; }
    // A text at the top right, on the title's line, with a thin bar under it
    // filled to Fracao (0 to 1) when there is one. It shows only where it
    // keeps clear of the title; an empty text shows nothing.
    void SetDestaque(const QString& Texto, std::optional<double> Fracao);
    QString Destaque() const;
    bool DestaqueVisivel() const;
    std::optional<double> FracaoDestaque() const { return FFracaoDestaque; }
    const QStringList& Rotulos() const;
    // The hour labels on the bottom axis now, left to right.
    QStringList RotulosVisiveis() const;
    QValueAxis* EixoValores() const;

    void SetMarcasVisiveis(bool Visiveis);
    bool MarcasVisiveis() const { return FMarcasVisiveis; }
    // A point's mark, in the Brazilian format of both views: a dot between
    // thousands and two decimals after the comma, or, short, rounded to whole
    // units.
    static QString TextoMarca(double Valor, bool Curta = false);
    // The marks' boxes as drawn now, in the chart's scene; a mark that found
    // no free place has none.
    QList<QRectF> CaixasMarcas() const;
    // The boxes of the axis labels and the title, in the chart's scene.
    QList<QRectF> CaixasRotulos() const;

protected:
    void drawForeground(QPainter* pintor, const QRectF& area) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool viewportEvent(QEvent* evento) override;

private:
    QFont FonteMarcas() const;
    void AjustaMargens();
    void PosicionaDestaque();
    // The point whose hour column holds Posicao (viewport coordinates) and
    // that column; none outside the plot.
    std::optional<int> PontoEm(const QPoint& Posicao, QRect* Coluna) const;

    bool FMarcasCurtas;
    QGraphicsSimpleTextItem* FTitulo;
    std::unique_ptr<TEixosGrafico> FEixos;
    QLineSeries* FSerie = nullptr;
    QLineSeries* FReferencia = nullptr;
    QStringList FDicas;
    std::optional<int> FPontoAberto;
    QGraphicsSimpleTextItem* FDestaque;
    QGraphicsRectItem* FTrilhoDestaque; // the bar's track
    QGraphicsRectItem* FBarraDestaque; // and its fill
    std::optional<double> FFracaoDestaque;
    bool FMarcasVisiveis = false;
};
