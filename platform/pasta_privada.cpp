#include "platform/pasta_privada.h"

#include "platform/caminhos.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace plataforma {

namespace {

bool Privada(const QByteArray& pasta)
{
    struct stat info {};
    return ::lstat(pasta.constData(), &info) == 0 && S_ISDIR(info.st_mode)
           && info.st_uid == ::geteuid() && (info.st_mode & 0077) == 0;
}

bool Criada(const QByteArray& pasta)
{
    return (::mkdir(pasta.constData(), 0700) == 0 || errno == EEXIST) && Privada(pasta);
}

} // namespace

QString PastaPrivada(const QString& nome)
{
    const QByteArray base = QFile::encodeName(DiretorioLock());
    const QByteArray pasta = base + '/' + QFile::encodeName(nome);
    return Criada(base) && Criada(pasta) ? QFile::decodeName(pasta) : QString();
}

QString PastaPrivadaExistente(const QString& nome)
{
    const QByteArray base = QFile::encodeName(DiretorioLock());
    const QByteArray pasta = base + '/' + QFile::encodeName(nome);
    return Privada(base) && Privada(pasta) ? QFile::decodeName(pasta) : QString();
}

} // namespace plataforma
