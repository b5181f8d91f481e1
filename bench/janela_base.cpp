// vph-bench-base: the yardstick of the gadget's memory, a bare Qt Charts
// window with one line series of eleven hours.

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    auto* serie = new QLineSeries;
    for (int hora = 8; hora <= 18; ++hora)
        serie->append(hora, hora * 10.0);
    auto* grafico = new QChart;
    grafico->addSeries(serie);
    grafico->createDefaultAxes();
    QChartView vista(grafico);
    vista.resize(389, 236);
    vista.show();
    return aplicacao.exec();
}
