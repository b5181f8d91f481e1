#include "sales_per_hour/exportar_csv.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    QTextStream saida(stdout);
    QTextStream erros(stderr);
    return ExecutarVendasPorHoraCsv(aplicacao.arguments().mid(1), saida, erros);
}
