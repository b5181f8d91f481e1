#include "config/escrita_direta.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace arquivo {

bool EscreverTudo(int fd, QByteArrayView bytes, off_t posicao)
{
    const char* p = bytes.data();
    qsizetype falta = bytes.size();
    while (falta > 0) {
        const ssize_t n = ::pwrite(fd, p, static_cast<size_t>(falta), posicao);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        falta -= n;
        posicao += n;
    }
    return true;
}

bool Fechar(int fd)
{
    return ::close(fd) == 0;
}

QByteArray Pasta(const QByteArray& caminho)
{
    const qsizetype barra = caminho.lastIndexOf('/');
    return barra < 0 ? QByteArray(".") : caminho.left(qMax<qsizetype>(barra, 1));
}

bool SincronizarPasta(const QByteArray& caminho)
{
    const int fd = ::open(Pasta(caminho).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

} // namespace arquivo
