#include "config/arquivo_atomico.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace arquivo {

namespace {

constexpr int PASSO_ESPERA_MS = 20;
const QByteArray SUFIXO_TEMPORARIO = QByteArrayLiteral(".tmp");

bool EscreverTudo(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype falta = bytes.size();
    off_t posicao = 0;
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

// The mode a new file gets from the umask. Read, not set and put back: for
// that moment every file another thread made would be open to all.
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

// The lock file of a guarded file: a new one takes the file's mode, owner and
// group; one of ours that has other permissions gets them.
int AbrirArquivoTrava(const QByteArray& caminho, const struct stat* modelo)
{
    const mode_t modo = modelo ? (modelo->st_mode & 0666) : ModoSemUmask();
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(caminho.constData(), O_RDWR | O_CREAT | flags, modo);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(caminho.constData(), O_RDONLY | flags);
        // Missing, and the folder takes no new file.
        if (fd < 0 && errno == ENOENT)
            errno = EACCES;
    }
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Only root may give the lock file away; anyone else keeps it, and its
    // mode still shuts out whoever may not write the guarded file.
    if (modelo && (info.st_uid == ::geteuid() || ::geteuid() == 0)) {
        if ((info.st_uid != modelo->st_uid || info.st_gid != modelo->st_gid)
            && ::fchown(fd, modelo->st_uid, modelo->st_gid) != 0 && errno != EPERM) {
            ::close(fd);
            return -1;
        }
        if ((info.st_mode & 07777) != modo && ::fchmod(fd, modo) != 0) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

void Dormir(int ms)
{
    const timespec pausa{0, ms * 1000000L};
    ::nanosleep(&pausa, nullptr);
}

// Polled, not waited for in the kernel: another user who holds the lock
// must not freeze us, and a signal must be able to end the wait. esperado
// carries the time already waited for other locks of the same save.
Trava::Estado Travar(int fd, int& esperado)
{
    for (;; esperado += PASSO_ESPERA_MS) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Trava::Estado::Obtida;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Trava::Estado::Falhou;
        if (esperado >= ESPERA_TRAVA_MS)
            return Trava::Estado::Ocupada;
        Dormir(PASSO_ESPERA_MS);
    }
}

int AbrirGuardado(const QByteArray& guardado)
{
    return ::open(guardado.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
}

} // namespace

Trava::Trava(const QByteArray& caminho, const QByteArray& guardado, const struct stat* modelo)
{
    int esperado = 0;
    bool semArquivoTrava = false;
    do {
        if (FDescritor >= 0)
            ::close(FDescritor);
        FEstado = Estado::Falhou;
        FDescritor = AbrirArquivoTrava(caminho, modelo);
        semArquivoTrava = FDescritor < 0 && (errno == EACCES || errno == EROFS)
                          && ::access(caminho.constData(), F_OK) != 0;
        if (semArquivoTrava)
            FDescritor = AbrirGuardado(guardado);
        if (FDescritor < 0)
            return;
        FEstado = Travar(FDescritor, esperado);
        // A lock file made while we waited is the one its makers hold.
    } while (FEstado == Estado::Obtida && semArquivoTrava
             && ::access(caminho.constData(), F_OK) == 0);
    // Whoever could not make the lock file holds the guarded file itself.
    if (FEstado == Estado::Obtida && !semArquivoTrava) {
        FDescritorGuardado = AbrirGuardado(guardado);
        if (FDescritorGuardado >= 0)
            FEstado = Travar(FDescritorGuardado, esperado);
    }
    if (FEstado != Estado::Obtida) {
        ::close(FDescritor);
        FDescritor = -1;
        if (FDescritorGuardado >= 0)
            ::close(FDescritorGuardado);
        FDescritorGuardado = -1;
    }
}

Trava::~Trava()
{
    if (FDescritor >= 0)
        ::close(FDescritor);
    if (FDescritorGuardado >= 0)
        ::close(FDescritorGuardado);
}

Leitura Ler(const QByteArray& caminho)
{
    Leitura l;
    const int fd = ::open(caminho.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

bool Regular(const QByteArray& caminho)
{
    struct stat info {};
    return ::stat(caminho.constData(), &info) == 0 && S_ISREG(info.st_mode);
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

void RemoverTemporarios(const QByteArray& destino)
{
    const qsizetype barra = destino.lastIndexOf('/');
    const QByteArray pasta = barra < 0 ? QByteArray(".") : destino.left(qMax<qsizetype>(barra, 1));
    const QByteArray base = destino.mid(barra + 1);
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

Gravacao Substituir(const QByteArray& destino, const QByteArray& bytes, const struct stat* anterior)
{
    QByteArray temporario;
    const int fd = CriarTemporario(destino, temporario);
    if (fd < 0)
        return errno == EACCES || errno == EROFS || errno == EPERM ? Gravacao::SemSubstituir
                                                                   : Gravacao::Falhou;
    const auto desistir = [&](Gravacao g) {
        ::close(fd);
        ::unlink(temporario.constData());
        return g;
    };
    if (!EscreverTudo(fd, bytes) || ::fsync(fd) != 0)
        return desistir(Gravacao::Falhou);

    struct stat novo {};
    if (::fstat(fd, &novo) != 0)
        return desistir(Gravacao::Falhou);
    if (anterior && (novo.st_uid != anterior->st_uid || novo.st_gid != anterior->st_gid)
        && ::fchown(fd, anterior->st_uid, anterior->st_gid) != 0)
        return desistir(Gravacao::SemSubstituir);
    if (::fchmod(fd, anterior ? anterior->st_mode & 07777 : ModoSemUmask()) != 0)
        return desistir(Gravacao::Falhou);

    if (!Fechar(fd)) {
        ::unlink(temporario.constData());
        return Gravacao::Falhou;
    }
    if (::rename(temporario.constData(), destino.constData()) != 0) {
        const int erro = errno;
        ::unlink(temporario.constData());
        // A sticky folder lets only the file's owner replace it.
        return erro == EPERM || erro == EACCES ? Gravacao::SemSubstituir : Gravacao::Falhou;
    }
    return Gravacao::Feita;
}

bool EscreverNoLugar(const QByteArray& destino, const QByteArray& bytes)
{
    const int fd = ::open(destino.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
              && (bytes.size() <= info.st_size || ::posix_fallocate(fd, 0, bytes.size()) == 0)
              && EscreverTudo(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    ok = Fechar(fd) && ok;
    return ok;
}

} // namespace arquivo
