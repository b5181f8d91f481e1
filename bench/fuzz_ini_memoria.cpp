// libFuzzer target: arbitrary bytes as the configuration file's text, edited
// in memory by the INI text engine alone (see VerificarEdicao); no file is
// touched, so it runs far more inputs than bench/fuzz_ini.cpp. Built by
// bench/fuzz_ini.sh.
#include "tests/support/propriedades_ini.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho)
{
    const QByteArray arquivo(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(tamanho));
    const QString falha = VerificarEdicao(arquivo);
    if (!falha.isEmpty()) {
        std::fprintf(stderr, "property failed: %s\n", qPrintable(falha));
        std::abort();
    }
    return 0;
}
