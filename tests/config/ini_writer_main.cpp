// The configuration file from another process, as another gadget or another
// user would use it:
//   ini_writer SECTION COUNT        saves the section COUNT times, setting
//                                   "PosX" to 0, 1, ... before each save (the
//                                   concurrency test runs two of these)
//   ini_writer SECTION --posx VALUE loads the section and saves it once with
//                                   "PosX" set to VALUE; just before the save
//                                   it asks the system about the path
//                                   "/ini-writer: saving", which marks in a
//                                   trace of its calls where the save begins
//   ini_writer SECTION --load       loads the section, as a start does
#include "base/erro.h"
#include "config/config.h"

#include <QString>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    const QString modo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool valido = (argc == 3) || (argc == 4 && modo == QLatin1String("--posx"));
    if (!valido) {
        std::fprintf(stderr, "usage: %s SECTION (COUNT | --posx VALUE | --load)\n", argv[0]);
        return 2;
    }
    try {
        TConfig config(QString::fromLocal8Bit(argv[1]));
        config.CarregarIni();
        if (modo == QLatin1String("--load"))
            return 0;
        if (modo == QLatin1String("--posx")) {
            config.setPosX(QString::fromLocal8Bit(argv[3]));
            [[maybe_unused]] const int marca = ::access("/ini-writer: saving", F_OK);
            config.SalvarIni();
            return 0;
        }
        config.InstanciaVariaveis(QStringLiteral("GVH"));
        const int vezes = modo.toInt();
        for (int i = 0; i < vezes; ++i) {
            config.setPosX(QString::number(i));
            config.SalvarIni();
        }
    } catch (const TErro& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Texto()));
        return 1;
    }
    return 0;
}
