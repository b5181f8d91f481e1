#include "platform/erro_sistema.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace plataforma {

QString DescricaoErroSistema(int erro)
{
    switch (erro) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permissão negada");
    case ENOENT:
        return QStringLiteral("arquivo ou pasta inexistente");
    case ELOOP:
        return QStringLiteral("links simbólicos demais (um laço de links)");
    case ENOTDIR:
        return QStringLiteral("uma parte do caminho não é uma pasta");
    case ENAMETOOLONG:
        return QStringLiteral("nome longo demais");
    case EISDIR:
        return QStringLiteral("é uma pasta");
    case EIO:
        return QStringLiteral("erro de entrada e saída");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("dispositivo inexistente");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("arquivos abertos demais");
    case ENOMEM:
        return QStringLiteral("memória insuficiente");
    case EFBIG:
    case EOVERFLOW:
        return QStringLiteral("arquivo grande demais");
    case ENOSPC:
        return QStringLiteral("disco cheio");
    case EROFS:
        return QStringLiteral("sistema de arquivos somente para leitura");
    default:
        return QStringLiteral("erro do sistema %1 (%2)")
            .arg(erro)
            .arg(QString::fromLocal8Bit(std::strerror(erro)));
    }
}

QString DescricaoNaoArquivo(mode_t modo)
{
    QString tipo = QStringLiteral("um tipo desconhecido");
    if (S_ISDIR(modo))
        tipo = QStringLiteral("uma pasta");
    else if (S_ISFIFO(modo))
        tipo = QStringLiteral("um FIFO");
    else if (S_ISCHR(modo) || S_ISBLK(modo))
        tipo = QStringLiteral("um dispositivo");
    else if (S_ISSOCK(modo))
        tipo = QStringLiteral("um socket");
    return QStringLiteral("não é um arquivo comum: é %1").arg(tipo);
}

} // namespace plataforma
