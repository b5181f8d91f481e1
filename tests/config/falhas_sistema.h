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
        grupos_.resize(static_cast<std::size_t>(getgroups(0, nullptr)));
        getgroups(static_cast<int>(grupos_.size()), grupos_.data());
        ativo_ = setgroups(0, nullptr) == 0 && setegid(kNinguem) == 0 && seteuid(kNinguem) == 0;
    }
    ~ComoUsuarioComum()
    {
        if (geteuid() == kNinguem && seteuid(0) == 0) {
            setegid(0);
            setgroups(grupos_.size(), grupos_.data());
        }
    }
    ComoUsuarioComum(const ComoUsuarioComum&) = delete;
    ComoUsuarioComum& operator=(const ComoUsuarioComum&) = delete;

    bool ok() const { return geteuid() != 0 && ativo_ == (geteuid() == kNinguem); }

private:
    static constexpr uid_t kNinguem = 65534;
    std::vector<gid_t> grupos_;
    bool ativo_ = false;
};

// The process may write no more than a few bytes into any file, as on a
// full disk.
class DiscoCheio {
public:
    DiscoCheio()
    {
        getrlimit(RLIMIT_FSIZE, &anterior_);
        sinalAnterior_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = anterior_;
        limite.rlim_cur = 8;
        ok_ = setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~DiscoCheio()
    {
        setrlimit(RLIMIT_FSIZE, &anterior_);
        std::signal(SIGXFSZ, sinalAnterior_);
    }
    DiscoCheio(const DiscoCheio&) = delete;
    DiscoCheio& operator=(const DiscoCheio&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit anterior_{};
    void (*sinalAnterior_)(int) = nullptr;
    bool ok_ = false;
};
