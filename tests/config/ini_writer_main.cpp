// Saves one gadget section of the configuration file many times, setting
// "PosX" to 0, 1, ... before each save: the other process of the concurrency
// test does the same with another section.
#include "base/erro.h"
#include "config/config.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SECTION COUNT\n", argv[0]);
        return 2;
    }
    const int vezes = QString::fromLocal8Bit(argv[2]).toInt();
    try {
        TConfig config(QString::fromLocal8Bit(argv[1]));
        config.CarregarIni();
        config.InstanciaVariaveis(QStringLiteral("GVH"));
        for (int i = 0; i < vezes; ++i) {
            config.setPosX(QString::number(i));
            config.SalvarIni();
        }
    } catch (const Erro& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.texto()));
        return 1;
    }
    return 0;
}
