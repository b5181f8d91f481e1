#include "config/trava_arquivo.h"

#include "config/arquivo_atomico.h"
#include "platform/sinais.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace arquivo {

namespace {

constexpr int PASSO_ESPERA_MS = 20;

// Read and write for each class of users that may write a file of this mode.
mode_t ModoDeQuemGrava(mode_t modo)
{
    mode_t m = 0;
    if (modo & S_IWUSR)
        m |= S_IRUSR | S_IWUSR;
    if (modo & S_IWGRP)
        m |= S_IRGRP | S_IWGRP;
    if (modo & S_IWOTH)
        m |= S_IROTH | S_IWOTH;
    return m;
}

bool MembroDoGrupo(uid_t usuario, gid_t grupo)
{
    // Our own groups are the process's.
    if (usuario == ::geteuid()) {
        std::vector<gid_t> grupos(static_cast<std::size_t>(::getgroups(0, nullptr)));
        grupos.resize(static_cast<std::size_t>(::getgroups(int(grupos.size()), grupos.data())));
        return ::getegid() == grupo
               || std::find(grupos.begin(), grupos.end(), grupo) != grupos.end();
    }
    std::vector<char> memoria(16384);
    passwd registro{};
    passwd* achado = nullptr;
    if (::getpwuid_r(usuario, &registro, memoria.data(), memoria.size(), &achado) != 0 || !achado)
        return false;
    if (registro.pw_gid == grupo)
        return true;
    int quantos = 64;
    std::vector<gid_t> grupos(static_cast<std::size_t>(quantos));
    if (::getgrouplist(registro.pw_name, registro.pw_gid, grupos.data(), &quantos) < 0) {
        grupos.resize(static_cast<std::size_t>(quantos));
        if (::getgrouplist(registro.pw_name, registro.pw_gid, grupos.data(), &quantos) < 0)
            return false;
    }
    grupos.resize(static_cast<std::size_t>(quantos));
    return std::find(grupos.begin(), grupos.end(), grupo) != grupos.end();
}

bool PodeGravar(uid_t usuario, const struct stat& guardado)
{
    if (usuario == 0 || (guardado.st_mode & S_IWOTH))
        return true;
    if (usuario == guardado.st_uid)
        return guardado.st_mode & S_IWUSR;
    return (guardado.st_mode & S_IWGRP) && MembroDoGrupo(usuario, guardado.st_gid);
}

// Whoever may open a lock file can hold its lock: it must let in only those
// who may write the file it guards, and belong to one of them.
bool SoQuemGrava(const struct stat& trava, const struct stat& guardado)
{
    if (guardado.st_mode & S_IWOTH)
        return true;
    if (trava.st_mode & S_IRWXO)
        return false;
    if ((trava.st_mode & S_IRWXG)
        && !((guardado.st_mode & S_IWGRP) && trava.st_gid == guardado.st_gid))
        return false;
    return PodeGravar(trava.st_uid, guardado);
}

// The lock file open for writing, when it may serve; -1 otherwise: one that
// cannot be made or opened, is no regular file, or lets in someone who may
// not write the guarded file is never a reason to fail.
int AbrirArquivoTrava(const QByteArray& caminho, const struct stat* guardado)
{
    const mode_t modo = ModoDeQuemGrava(guardado ? guardado->st_mode : ModoSemUmask());
    const int fd =
        ::open(caminho.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, modo);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (!guardado)
        return fd;
    // One of ours (or root's to mend) gets the guarded file's group, and its
    // owner too when root may give it away; its mode follows the group it got.
    if (info.st_uid == ::geteuid() || ::geteuid() == 0) {
        if (::geteuid() == 0
            && (info.st_uid != guardado->st_uid || info.st_gid != guardado->st_gid)) {
            [[maybe_unused]] const int r = ::fchown(fd, guardado->st_uid, guardado->st_gid);
        } else if (info.st_gid != guardado->st_gid) {
            // Fails unless we belong to that group.
            [[maybe_unused]] const int r = ::fchown(fd, static_cast<uid_t>(-1), guardado->st_gid);
        }
        ::fstat(fd, &info);
        mode_t desejado = ModoDeQuemGrava(guardado->st_mode);
        if (info.st_gid != guardado->st_gid && !(guardado->st_mode & S_IWOTH))
            desejado &= ~S_IRWXG;
        if ((info.st_mode & 07777) != desejado && ::fchmod(fd, desejado) == 0)
            ::fstat(fd, &info);
    }
    if (!SoQuemGrava(info, *guardado)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void Dormir(int ms)
{
    const timespec pausa{0, ms * 1000000L};
    ::nanosleep(&pausa, nullptr);
}

enum class TTentativa { Obtida, Ocupada, Erro };

TTentativa TentarFlock(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return TTentativa::Obtida;
    return errno == EWOULDBLOCK || errno == EINTR ? TTentativa::Ocupada : TTentativa::Erro;
}

TTentativa TentarOfd(int fd, short tipo)
{
    struct flock trecho {};
    trecho.l_type = tipo;
    trecho.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &trecho) == 0)
        return TTentativa::Obtida;
    return errno == EAGAIN || errno == EACCES || errno == EINTR ? TTentativa::Ocupada
                                                                : TTentativa::Erro;
}

bool MesmoArquivo(int fd, const QByteArray& caminho)
{
    struct stat aberto {};
    struct stat atual {};
    return ::fstat(fd, &aberto) == 0 && ::stat(caminho.constData(), &atual) == 0
           && aberto.st_dev == atual.st_dev && aberto.st_ino == atual.st_ino;
}

} // namespace

TTrava::TTrava(const QByteArray& destino, const struct stat* modelo, int esperaMs)
{
    using TRelogio = std::chrono::steady_clock;
    const TRelogio::time_point limite = TRelogio::now() + std::chrono::milliseconds(esperaMs);
    // Polled, not waited for in the kernel, so that a signal can end the wait.
    const auto esperar = [&](auto&& tentar) {
        for (;;) {
            switch (tentar()) {
            case TTentativa::Obtida:
                return TEstado::Obtida;
            case TTentativa::Erro:
                return TEstado::Falhou;
            case TTentativa::Ocupada:
                break;
            }
            if (plataforma::Encerrando() || TRelogio::now() >= limite)
                return TEstado::Ocupada;
            Dormir(PASSO_ESPERA_MS);
        }
    };

    FArquivoTrava = AbrirArquivoTrava(destino + ".lock", modelo);
    if (FArquivoTrava >= 0) {
        FEstado = esperar([&] { return TentarFlock(FArquivoTrava); });
        if (FEstado != TEstado::Obtida) {
            Soltar();
            return;
        }
    }
    // A file yet to be made: there is nothing else to lock.
    if (!modelo) {
        FEstado = TEstado::Obtida;
        return;
    }
    const bool leitura = FArquivoTrava >= 0;
    for (;;) {
        FGuardado = ::open(destino.constData(),
                           (leitura ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (FGuardado < 0) {
            FEstado = TEstado::Falhou;
            break;
        }
        FEstado = esperar(
            [&] { return TentarOfd(FGuardado, leitura ? short(F_RDLCK) : short(F_WRLCK)); });
        // A file replaced while we waited is no longer the one the others lock.
        if (FEstado != TEstado::Obtida || MesmoArquivo(FGuardado, destino))
            break;
        ::close(FGuardado);
        FGuardado = -1;
    }
    if (FEstado != TEstado::Obtida)
        Soltar();
}

TTrava::~TTrava()
{
    Soltar();
}

void TTrava::Soltar()
{
    if (FGuardado >= 0)
        ::close(FGuardado);
    if (FArquivoTrava >= 0)
        ::close(FArquivoTrava);
    FGuardado = FArquivoTrava = -1;
}

} // namespace arquivo
