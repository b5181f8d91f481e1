#include "tests/support/arquivo_teste.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace {
constexpr char VARIAVEL[] = "VANTREL_GADGETS_INI";
}

ArquivoTeste::ArquivoTeste()
    : FCaminho(FPasta.filePath(QStringLiteral("ConfigGadGet.Ini"))),
      FVariavelAnterior(qgetenv(VARIAVEL)),
      FTinhaVariavel(qEnvironmentVariableIsSet(VARIAVEL))
{
    if (!FPasta.isValid())
        throw std::runtime_error("no temporary folder");
    qputenv(VARIAVEL, QFile::encodeName(FCaminho));
}

ArquivoTeste::~ArquivoTeste()
{
    if (FTinhaVariavel)
        qputenv(VARIAVEL, FVariavelAnterior);
    else
        qunsetenv(VARIAVEL);
}

void ArquivoTeste::Gravar(const QByteArray& bytes) const
{
    QFile f(FCaminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test file");
}

QByteArray ArquivoTeste::Ler() const
{
    QFile f(FCaminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ArquivoTeste::Sobras() const
{
    QStringList nomes =
        QDir(FPasta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    nomes.removeAll(QStringLiteral("ConfigGadGet.Ini"));
    nomes.removeAll(QStringLiteral("ConfigGadGet.Ini.lock"));
    return nomes;
}
