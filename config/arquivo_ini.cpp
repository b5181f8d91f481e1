#include "config/arquivo_ini.h"

#include "base/erro.h"
#include "config/arquivo_atomico.h"
#include "config/escrita_no_lugar.h"
#include "config/trava_arquivo.h"
#include "platform/erro_sistema.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void FalhaEscrita(const QString& caminho)
{
    throw TErro(QStringLiteral("Unable to write to %1").arg(caminho));
}

bool PodeGravar(const QByteArray& destino)
{
    return ::faccessat(AT_FDCWD, destino.constData(), W_OK, AT_EACCESS) == 0;
}

QString Motivo(const QString& caminho, const arquivo::TLeituraArquivo& l)
{
    if (l.lida)
        return {};
    const QString razao = l.erro != 0 ? plataforma::DescricaoErroSistema(l.erro)
                                      : plataforma::DescricaoNaoArquivo(l.info.st_mode);
    return caminho + QStringLiteral(": ") + razao;
}

} // namespace

TLeituraIni LerArquivoIni(const QString& caminho)
{
    const QByteArray destino = arquivo::Destino(QFile::encodeName(caminho));
    arquivo::TLeituraArquivo l = arquivo::Ler(destino);
    if (!l.lida)
        return {TTextoIni(QByteArray()), Motivo(caminho, l)};
    if (l.existe && arquivo::HaCopia(destino, l.info)) {
        // Put back by whoever may write the file, when no save runs now.
        if (PodeGravar(destino)) {
            const arquivo::TTrava trava(destino, &l.info, 0);
            if (trava.Estado() == arquivo::TTrava::TEstado::Obtida
                && arquivo::RestaurarCopia(destino, l.info))
                l = arquivo::Ler(destino);
        }
        // Until it is, what the file held before the killed write is what it
        // holds.
        arquivo::TCopia copia = arquivo::LerCopia(destino, l);
        if (copia.existe)
            l.bytes = std::move(copia.anterior);
    }
    return {TTextoIni(std::move(l.bytes)), {}};
}

bool ArquivoIniUtilizavel(const QString& caminho)
{
    struct stat info {};
    return ::stat(QFile::encodeName(caminho).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QString MotivoArquivoIniInutilizavel(const QString& caminho)
{
    struct stat info {};
    if (::stat(QFile::encodeName(caminho).constData(), &info) != 0)
        return errno == ENOENT
                   ? QString()
                   : caminho + QStringLiteral(": ") + plataforma::DescricaoErroSistema(errno);
    if (S_ISREG(info.st_mode))
        return {};
    return caminho + QStringLiteral(": ") + plataforma::DescricaoNaoArquivo(info.st_mode);
}

bool AlterarArquivoIni(const QString& caminho, const std::function<void(TTextoIni&)>& edita)
{
    // A link and its target share one lock, and the link stays a link.
    const QByteArray destino = arquivo::Destino(QFile::encodeName(caminho));
    struct stat modelo {};
    const bool existe = ::stat(destino.constData(), &modelo) == 0;
    // Nothing is made beside a folder, a FIFO or a device in the file's place.
    if ((existe && !S_ISREG(modelo.st_mode)) || (!existe && errno != ENOENT))
        FalhaEscrita(caminho);
    const arquivo::TTrava trava(destino, existe ? &modelo : nullptr);
    if (trava.Estado() == arquivo::TTrava::TEstado::Ocupada)
        throw TErro(QStringLiteral("Não foi possível gravar %1: outro programa o mantém bloqueado "
                                   "há mais de %2 segundos. Nada foi alterado.")
                        .arg(caminho)
                        .arg(arquivo::ESPERA_TRAVA_MS / 1000));
    if (trava.Estado() != arquivo::TTrava::TEstado::Obtida) {
        // Only those who may write the file get its lock; a save that changes
        // nothing needs none.
        const arquivo::TLeituraArquivo atual = arquivo::Ler(destino);
        TTextoIni texto(atual.bytes);
        edita(texto);
        bool utf8 = true;
        if (atual.lida && atual.existe && texto.Conteudo(&utf8) == atual.bytes)
            return utf8;
        FalhaEscrita(caminho);
    }
    arquivo::RemoverTemporarios(destino);
    // What a killed write in place left goes back first: the edit is of the
    // file as it was.
    if (existe && !arquivo::RestaurarCopia(destino, modelo))
        FalhaEscrita(caminho);

    arquivo::TLeituraArquivo atual = arquivo::Ler(destino);
    // Writing over a file that could not be read would lose its other sections.
    if (!atual.lida)
        FalhaEscrita(caminho);

    TTextoIni texto(atual.bytes);
    edita(texto);
    bool utf8 = true;
    const QByteArray novo = texto.Conteudo(&utf8);
    if (atual.existe && novo == atual.bytes)
        return utf8;
    // Replacing the file asks only the folder's permission: ask the file's too.
    if (atual.existe && !PodeGravar(destino))
        FalhaEscrita(caminho);
    switch (arquivo::Substituir(destino, novo, atual.existe ? &atual.info : nullptr)) {
    case arquivo::TGravacao::Feita:
        return utf8;
    case arquivo::TGravacao::SemSubstituir:
        // A folder we may not write, or a file whose owner we could not keep.
        if (atual.existe && arquivo::EscreverNoLugar(destino, atual, novo))
            return utf8;
        break;
    case arquivo::TGravacao::Falhou:
        break;
    }
    FalhaEscrita(caminho);
}
