#include "config/arquivo_atomico.h"

#include "config/escrita_direta.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace arquivo {

namespace {

const QByteArray SUFIXO_TEMPORARIO = QByteArrayLiteral(".tmp");

// A name no one else uses, created with no access for anyone else: the bytes
// written into it hold the password long before it gets the file's own mode.
int CriarTemporario(const QByteArray& destino, QByteArray& nome)
{
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        nome = destino + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 16)
               + SUFIXO_TEMPORARIO;
        const int fd = ::open(nome.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool EhTemporario(const QByteArray& nome, const QByteArray& base)
{
    if (!nome.startsWith(base + '.') || !nome.endsWith(SUFIXO_TEMPORARIO))
        return false;
    const QByteArray meio =
        nome.mid(base.size() + 1, nome.size() - base.size() - 1 - SUFIXO_TEMPORARIO.size());
    if (meio.isEmpty() || meio.size() > 16)
        return false;
    for (const char c : meio) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

TLeituraArquivo Ler(const QByteArray& caminho)
{
    TLeituraArquivo l;
    const int fd = ::open(caminho.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        l.erro = errno;
        l.lida = errno == ENOENT;
        return l;
    }
    l.existe = true;
    if (::fstat(fd, &l.info) != 0) {
        l.erro = errno;
        ::close(fd);
        return l;
    }
    if (!S_ISREG(l.info.st_mode)) {
        ::close(fd);
        return l;
    }
    // Read into room of the file's size; one that grows meanwhile gets more.
    QByteArray bytes(static_cast<qsizetype>(l.info.st_size), Qt::Uninitialized);
    qsizetype lidos = 0;
    for (;;) {
        if (lidos == bytes.size())
            bytes.resize(bytes.size() + 65536);
        const ssize_t n =
            ::read(fd, bytes.data() + lidos, static_cast<size_t>(bytes.size() - lidos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            l.erro = errno;
            ::close(fd);
            return l;
        }
        if (n == 0)
            break;
        lidos += n;
    }
    ::close(fd);
    bytes.truncate(lidos);
    l.bytes = std::move(bytes);
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

// Read, not set and put back: for that moment every file another thread made
// would be open to all.
mode_t ModoSemUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    mode_t mascara = 022;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& linha : status.readAll().split('\n')) {
            if (linha.startsWith("Umask:"))
                mascara = static_cast<mode_t>(linha.mid(6).trimmed().toUInt(nullptr, 8));
        }
    }
    return 0666 & ~mascara;
}

void RemoverTemporarios(const QByteArray& destino)
{
    const QByteArray pasta = Pasta(destino);
    const QByteArray base = destino.mid(destino.lastIndexOf('/') + 1);
    DIR* dir = ::opendir(pasta.constData());
    if (dir == nullptr)
        return;
    // One that cannot be removed (a folder we may not write) is left; the
    // save goes on all the same.
    while (const dirent* entrada = ::readdir(dir)) {
        const QByteArray nome(entrada->d_name);
        if (EhTemporario(nome, base))
            ::unlinkat(::dirfd(dir), entrada->d_name, 0);
    }
    ::closedir(dir);
}

TGravacao Substituir(const QByteArray& destino, const QByteArray& bytes,
                     const struct stat* anterior)
{
    QByteArray temporario;
    const int fd = CriarTemporario(destino, temporario);
    if (fd < 0)
        return errno == EACCES || errno == EROFS || errno == EPERM ? TGravacao::SemSubstituir
                                                                   : TGravacao::Falhou;
    const auto desistir = [&](TGravacao g) {
        ::close(fd);
        ::unlink(temporario.constData());
        return g;
    };
    if (!EscreverTudo(fd, bytes) || ::fsync(fd) != 0)
        return desistir(TGravacao::Falhou);

    struct stat novo {};
    if (::fstat(fd, &novo) != 0)
        return desistir(TGravacao::Falhou);
    if (anterior && (novo.st_uid != anterior->st_uid || novo.st_gid != anterior->st_gid)
        && ::fchown(fd, anterior->st_uid, anterior->st_gid) != 0)
        return desistir(TGravacao::SemSubstituir);
    if (::fchmod(fd, anterior ? anterior->st_mode & 07777 : ModoSemUmask()) != 0)
        return desistir(TGravacao::Falhou);

    if (!Fechar(fd)) {
        ::unlink(temporario.constData());
        return TGravacao::Falhou;
    }
    if (::rename(temporario.constData(), destino.constData()) != 0) {
        const int erro = errno;
        ::unlink(temporario.constData());
        // A sticky folder lets only the file's owner replace it.
        return erro == EPERM || erro == EACCES ? TGravacao::SemSubstituir : TGravacao::Falhou;
    }
    return TGravacao::Feita;
}

} // namespace arquivo
