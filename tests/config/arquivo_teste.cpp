#include "arquivo_teste.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace {
constexpr char kVariavel[] = "VANTREL_GADGETS_INI";
}

ArquivoTeste::ArquivoTeste()
    : caminho_(pasta_.filePath(QStringLiteral("ConfigGadGet.Ini")))
    , variavelAnterior_(qgetenv(kVariavel))
    , tinhaVariavel_(qEnvironmentVariableIsSet(kVariavel))
{
    if (!pasta_.isValid())
        throw std::runtime_error("no temporary folder");
    qputenv(kVariavel, QFile::encodeName(caminho_));
}

ArquivoTeste::~ArquivoTeste()
{
    if (tinhaVariavel_)
        qputenv(kVariavel, variavelAnterior_);
    else
        qunsetenv(kVariavel);
}

void ArquivoTeste::Gravar(const QByteArray& bytes) const
{
    QFile f(caminho_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test file");
}

QByteArray ArquivoTeste::Ler() const
{
    QFile f(caminho_);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ArquivoTeste::Sobras() const
{
    QStringList nomes = QDir(pasta_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    nomes.removeAll(QStringLiteral("ConfigGadGet.Ini"));
    nomes.removeAll(QStringLiteral("ConfigGadGet.Ini.lock"));
    return nomes;
}
