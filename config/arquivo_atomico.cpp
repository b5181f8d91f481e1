#include "config/arquivo_atomico.h"

#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace arquivo {

namespace {

bool EscreverTudo(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype falta = bytes.size();
    while (falta > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(falta));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        falta -= n;
    }
    return true;
}

// Root may be replacing a file that belongs to someone else, who must keep it.
// Anyone else cannot give a file away, and the new file is theirs.
bool CopiarPermissoes(int fd, const struct stat& anterior)
{
    if (geteuid() == 0 && ::fchown(fd, anterior.st_uid, anterior.st_gid) != 0)
        return false;
    return ::fchmod(fd, anterior.st_mode & 07777) == 0;
}

int CriarTemporario(const QByteArray& destino, QByteArray& nome)
{
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        nome = destino + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 16)
            + ".tmp";
        const int fd = ::open(nome.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

Trava::Trava(const QByteArray& caminho)
{
    fd_ = ::open(caminho.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0)
        fd_ = ::open(caminho.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    int r;
    do {
        r = ::flock(fd_, LOCK_EX);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Trava::~Trava()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Leitura Ler(const QByteArray& caminho)
{
    Leitura l;
    const int fd = ::open(caminho.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        l.lida = errno == ENOENT;
        return l;
    }
    l.existe = true;
    if (::fstat(fd, &l.info) != 0 || !S_ISREG(l.info.st_mode)) {
        ::close(fd);
        return l;
    }
    char bloco[65536];
    for (;;) {
        const ssize_t n = ::read(fd, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return l;
        }
        if (n == 0)
            break;
        l.bytes.append(bloco, n);
    }
    ::close(fd);
    l.lida = true;
    return l;
}

QByteArray Destino(const QByteArray& caminho)
{
    struct stat info {};
    if (::lstat(caminho.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return caminho;
    char real[PATH_MAX];
    if (::realpath(caminho.constData(), real) == nullptr)
        return caminho;
    return QByteArray(real);
}

bool Substituir(const QByteArray& destino, const QByteArray& bytes, const struct stat* anterior)
{
    QByteArray temporario;
    const int fd = CriarTemporario(destino, temporario);
    if (fd < 0)
        return false;
    bool ok = (anterior == nullptr || CopiarPermissoes(fd, *anterior)) && EscreverTudo(fd, bytes)
        && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporario.constData(), destino.constData()) == 0;
    if (!ok)
        ::unlink(temporario.constData());
    return ok;
}

} // namespace arquivo
