#pragma once

#include <QStringList>
#include <initializer_list>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QValueAxis;
class QXYSeries;

// The two axes of a day's chart: the hours along the bottom, labelled at
// every point while the labels fit and at every second, third... point when
// they do not; the sales up the left, in whole round steps from 0.
class TEixosGrafico {
public:
    // Adds both axes to Grafico. SeparacaoRotulos: the least gap between two
    // hour labels, in percent of the widest label.
    TEixosGrafico(QChart* Grafico, int SeparacaoRotulos);

    // Font size, in pixels, of both axes' labels.
    void SetTamanhoRotulos(int Tamanho);
    // Draws Serie against both axes.
    void Prende(QXYSeries* Serie) const;
    // Rotulos names the points in order; the scale takes in every value of
    // Series (the null ones left out).
    void Mostra(const QStringList& Rotulos, std::initializer_list<const QLineSeries*> Series);
    // Places the hour labels anew for the plot's width now.
    void DistribuiRotulos();

    const QStringList& Rotulos() const { return FRotulos; }
    // The hour labels on the bottom axis now, left to right.
    QStringList RotulosVisiveis() const;
    QValueAxis* Valores() const { return FValores; }

private:
    void AjustaEscala(std::initializer_list<const QLineSeries*> Series);

    QChart* FGrafico;
    int FSeparacaoRotulos;
    QCategoryAxis* FHoras;
    QValueAxis* FValores;
    QStringList FRotulos;
    int FPassoRotulos = 0; // every how many points a label shows; 0: none placed
};
