#include "platform/sinais.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plataforma {

namespace {

int gCanal[2] = {-1, -1};

void AoReceberSinal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gCanal[0], &c, 1);
}

} // namespace

void EncerrarComSinais()
{
    if (gCanal[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gCanal) != 0)
            return;
        auto* aviso = new QSocketNotifier(gCanal[1], QSocketNotifier::Read,
                                          QCoreApplication::instance());
        QObject::connect(aviso, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
            char c;
            while (::read(gCanal[1], &c, 1) > 0) {
            }
            QCoreApplication::quit();
        });
    }
    struct sigaction acao = {};
    acao.sa_handler = AoReceberSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    for (const int sinal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sinal, &acao, nullptr);
}

} // namespace plataforma
