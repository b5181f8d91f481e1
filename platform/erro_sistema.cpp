#include "platform/erro_sistema.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace plataforma {

namespace {

struct TDescricaoErro {
    int erro;
    const char* descricao;
};

constexpr TDescricaoErro DESCRICOES_ERRO[] = {
    {EACCES, "permissão negada"},
    {EPERM, "permissão negada"},
    {ENOENT, "arquivo ou pasta inexistente"},
    {ELOOP, "links simbólicos demais (um laço de links)"},
    {ENOTDIR, "uma parte do caminho não é uma pasta"},
    {ENAMETOOLONG, "nome longo demais"},
    {EISDIR, "é uma pasta"},
    {EIO, "erro de entrada e saída"},
    {ENXIO, "dispositivo inexistente"},
    {ENODEV, "dispositivo inexistente"},
    {EMFILE, "arquivos abertos demais"},
    {ENFILE, "arquivos abertos demais"},
    {ENOMEM, "memória insuficiente"},
    {EFBIG, "arquivo grande demais"},
    {EOVERFLOW, "arquivo grande demais"},
    {ENOSPC, "disco cheio"},
    {EROFS, "sistema de arquivos somente para leitura"},
};

} // namespace

QString DescricaoErroSistema(int erro)
{
    for (const TDescricaoErro& d : DESCRICOES_ERRO) {
        if (d.erro == erro)
            return QString::fromUtf8(d.descricao);
    }
    return QStringLiteral("erro do sistema %1 (%2)")
        .arg(erro)
        .arg(QString::fromLocal8Bit(std::strerror(erro)));
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
