// libFuzzer target: arbitrary bytes as the configuration file, then the
// gadget's load, save and reload (see VerificarSalvamento). Built by
// bench/fuzz_ini.sh with clang and the address and undefined-behaviour
// sanitizers.
#include "tests/support/propriedades_ini.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Memory-backed when the system has it: each input is written, fsynced and
// renamed a few times.
QString PastaDeTrabalho()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho)
{
    static QTemporaryDir pasta(PastaDeTrabalho() + QStringLiteral("/fuzz_ini-XXXXXX"));
    static const QString caminho = pasta.filePath(QStringLiteral("ConfigGadGet.Ini"));
    if (!pasta.isValid()) {
        std::fprintf(stderr, "no working folder\n");
        std::abort();
    }
    const QByteArray arquivo(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(tamanho));
    const QString falha = VerificarSalvamento(arquivo, caminho);
    if (!falha.isEmpty()) {
        std::fprintf(stderr, "property failed: %s\n", qPrintable(falha));
        std::abort();
    }
    return 0;
}
