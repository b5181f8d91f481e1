#pragma once

#include <QChartView>
#include <QLocale>
#include <QStringList>

class QCategoryAxis;
class QFont;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

// One view's chart of a day's sales by hour: blue points joined by a line
// over hour labels, the title at the top left, on a transparent panel with
// rounded corners so that the view's gradient shows through. The points'
// values (the marks) show only while asked for.
class TGraficoVendas : public QChartView {
    Q_OBJECT

public:
    // SeparacaoRotulos: the least gap between two hour labels, in percent of
    // the widest label; labels that would come closer are left out.
    // MarcasCurtas: marks without cents, for a chart too small for the full
    // values.
    TGraficoVendas(const QString& Titulo, int SeparacaoRotulos, bool MarcasCurtas, QWidget* parent);

    void setTitulo(const QString& Titulo);
    QString Titulo() const;
    // Font size, in pixels, of both axes' labels.
    void setTamanhoRotulosEixos(int Tamanho);

    // Deletes the series and puts a new, empty one named Nome in its place,
    // with its marks hidden.
    QLineSeries* NovaSerie(const QString& Nome);
    QLineSeries* Serie() const { return FSerie; }
    // Shows the series once filled; Rotulos names its points in order.
    void MostraSerie(const QStringList& Rotulos);
    const QStringList& Rotulos() const { return FRotulos; }
    // The hour labels on the bottom axis now, left to right.
    QStringList RotulosVisiveis() const;
    QValueAxis* EixoValores() const { return FEixoValores; }

    void setMarcasVisiveis(bool Visiveis);
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

private:
    QFont FonteMarcas() const;
    void AjustaMargens();
    void AjustaEscala();
    void DistribuiRotulos();

    int FSeparacaoRotulos;
    bool FMarcasCurtas;
    QGraphicsSimpleTextItem* FTitulo;
    QCategoryAxis* FEixoHoras;
    QValueAxis* FEixoValores;
    QLineSeries* FSerie = nullptr;
    QStringList FRotulos;
    int FPassoRotulos = 0; // every how many points a label shows; 0: none placed
    bool FMarcasVisiveis = false;
};
