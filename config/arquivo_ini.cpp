#include "config/arquivo_ini.h"

#include "config/arquivo_atomico.h"
#include "platform/erro.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void FalhaEscrita(const QString& caminho)
{
    throw Erro(QStringLiteral("Unable to write to %1").arg(caminho));
}

} // namespace

TextoIni LerArquivoIni(const QString& caminho)
{
    return TextoIni(arquivo::Ler(QFile::encodeName(caminho)).bytes);
}

void AlterarArquivoIni(const QString& caminho, const std::function<void(TextoIni&)>& edita)
{
    const QByteArray nativo = QFile::encodeName(caminho);
    const arquivo::Trava trava(nativo + ".lock");
    if (!trava.obtida())
        FalhaEscrita(caminho);

    const QByteArray destino = arquivo::Destino(nativo);
    const arquivo::Leitura atual = arquivo::Ler(destino);
    // Writing over a file that could not be read would lose its other sections.
    if (!atual.lida)
        FalhaEscrita(caminho);

    TextoIni texto(atual.bytes);
    edita(texto);
    const QByteArray novo = texto.Conteudo();
    if (atual.existe && novo == atual.bytes)
        return;
    // The file is replaced, not written into: its own permission must be asked.
    if (atual.existe && ::faccessat(AT_FDCWD, destino.constData(), W_OK, AT_EACCESS) != 0)
        FalhaEscrita(caminho);
    if (!arquivo::Substituir(destino, novo, atual.existe ? &atual.info : nullptr))
        FalhaEscrita(caminho);
}
