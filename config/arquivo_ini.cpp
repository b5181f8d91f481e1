#include "config/arquivo_ini.h"

#include "base/erro.h"
#include "config/arquivo_atomico.h"

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

bool ArquivoIniUtilizavel(const QString& caminho)
{
    return arquivo::Regular(QFile::encodeName(caminho));
}

void AlterarArquivoIni(const QString& caminho, const std::function<void(TextoIni&)>& edita)
{
    // A link and its target share one lock, and the link stays a link.
    const QByteArray destino = arquivo::Destino(QFile::encodeName(caminho));
    const arquivo::Leitura modelo = arquivo::Ler(destino);
    // Nothing is made beside a folder, a FIFO or a device in the file's place.
    if (!modelo.lida)
        FalhaEscrita(caminho);
    const arquivo::Trava trava(destino + ".lock", destino, modelo.existe ? &modelo.info : nullptr);
    if (trava.estado() == arquivo::Trava::Estado::Ocupada)
        throw Erro(QStringLiteral("Não foi possível gravar %1: outro programa o mantém bloqueado "
                                  "há mais de %2 segundos. Nada foi alterado.")
                       .arg(caminho)
                       .arg(arquivo::ESPERA_TRAVA_MS / 1000));
    if (trava.estado() != arquivo::Trava::Estado::Obtida)
        FalhaEscrita(caminho);
    arquivo::RemoverTemporarios(destino);

    const arquivo::Leitura atual = arquivo::Ler(destino);
    // Writing over a file that could not be read would lose its other sections.
    if (!atual.lida)
        FalhaEscrita(caminho);

    TextoIni texto(atual.bytes);
    edita(texto);
    const QByteArray novo = texto.Conteudo();
    if (atual.existe && novo == atual.bytes)
        return;
    // Replacing the file asks only the folder's permission: ask the file's too.
    if (atual.existe && ::faccessat(AT_FDCWD, destino.constData(), W_OK, AT_EACCESS) != 0)
        FalhaEscrita(caminho);
    switch (arquivo::Substituir(destino, novo, atual.existe ? &atual.info : nullptr)) {
    case arquivo::Gravacao::Feita:
        return;
    case arquivo::Gravacao::SemSubstituir:
        // A folder we may not write, or a file whose owner we could not keep.
        if (atual.existe && arquivo::EscreverNoLugar(destino, novo))
            return;
        break;
    case arquivo::Gravacao::Falhou:
        break;
    }
    FalhaEscrita(caminho);
}
