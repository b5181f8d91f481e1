// Stands in for the program at start-up: takes the single-instance lock,
// says so on its output, and runs until it is killed.
#include "platform/rotinas_desktop.h"

#include <QApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    plataforma::VerificaExeAberto(QStringLiteral("frmVendasHora"));
    std::puts("travado");
    std::fflush(stdout);
    sleep(120);
    return 3;
}
