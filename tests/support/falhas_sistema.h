#pragma once

// Ways to make a write fail, also for a test run as root.

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

// Permissions do not bind root, so a test run as root acts as nobody meanwhile.
class ComoUsuarioComum {
public:
    ComoUsuarioComum()
    {
        if (geteuid() != 0)
            return;
        FGrupos.resize(static_cast<std::size_t>(getgroups(0, nullptr)));
        getgroups(static_cast<int>(FGrupos.size()), FGrupos.data());
        FAtivo = setgroups(0, nullptr) == 0 && setegid(NINGUEM) == 0 && seteuid(NINGUEM) == 0;
    }
    ~ComoUsuarioComum()
    {
        if (geteuid() == NINGUEM && seteuid(0) == 0) {
            setegid(0);
            setgroups(FGrupos.size(), FGrupos.data());
        }
    }
    ComoUsuarioComum(const ComoUsuarioComum&) = delete;
    ComoUsuarioComum& operator=(const ComoUsuarioComum&) = delete;

    bool ok() const { return geteuid() != 0 && FAtivo == (geteuid() == NINGUEM); }

private:
    static constexpr uid_t NINGUEM = 65534;
    std::vector<gid_t> FGrupos;
    bool FAtivo = false;
};

// The process may write no more than a few bytes into any file, as on a
// full disk.
class DiscoCheio {
public:
    DiscoCheio()
    {
        getrlimit(RLIMIT_FSIZE, &FAnterior);
        FSinalAnterior = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = FAnterior;
        limite.rlim_cur = 8;
        FOk = setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~DiscoCheio()
    {
        setrlimit(RLIMIT_FSIZE, &FAnterior);
        std::signal(SIGXFSZ, FSinalAnterior);
    }
    DiscoCheio(const DiscoCheio&) = delete;
    DiscoCheio& operator=(const DiscoCheio&) = delete;
    bool ok() const { return FOk; }

private:
    rlimit FAnterior{};
    void (*FSinalAnterior)(int) = nullptr;
    bool FOk = false;
};
