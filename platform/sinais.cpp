#include "platform/sinais.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <pthread.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace plataforma {

namespace {

// What is left after the event loop ends: the database thread's own bound
// and the release of the windows.
constexpr std::chrono::milliseconds PRAZO_FIM(900);

int gCanal[2] = {-1, -1};
std::atomic<bool> gEncerrando = false;

sigset_t Sinais()
{
    sigset_t sinais;
    sigemptyset(&sinais);
    for (const int sinal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&sinais, sinal);
    return sinais;
}

void Esperar(sigset_t sinais)
{
    int sinal = 0;
    while (sigwait(&sinais, &sinal) != 0) {
    }
    gEncerrando = true;
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gCanal[0], &c, 1);
    std::this_thread::sleep_for(PRAZO_FIM);
    std::_Exit(0);
}

} // namespace

void TomarSinais()
{
    if (gCanal[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gCanal) != 0)
        return;
    const sigset_t sinais = Sinais();
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);
    std::thread(Esperar, sinais).detach();
}

void EncerrarComSinais()
{
    if (gCanal[1] < 0)
        return;
    auto* aviso =
        new QSocketNotifier(gCanal[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(aviso, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
        char c;
        while (::read(gCanal[1], &c, 1) > 0) {
        }
        QCoreApplication::exit(0);
    });
}

bool Encerrando()
{
    return gEncerrando;
}

} // namespace plataforma
