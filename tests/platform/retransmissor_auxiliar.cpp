// A relay to the local database server for the slow-reading check: prints its
// port, then SIGUSR1 delays everything by the argument's milliseconds and
// SIGUSR2 makes it fast again, until SIGTERM or SIGINT.
#include "tests/support/rede_teste.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s ATRASO_MS\n", argv[0]);
        return 2;
    }
    const std::chrono::milliseconds atraso(std::atoll(argv[1]));
    // Blocked before the relay's thread starts, so that only sigwait takes them.
    sigset_t sinais;
    sigemptyset(&sinais);
    for (int s : {SIGUSR1, SIGUSR2, SIGTERM, SIGINT})
        sigaddset(&sinais, s);
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);

    Retransmissor retransmissor;
    std::printf("%d\n", retransmissor.porta());
    std::fflush(stdout);
    for (;;) {
        int sinal = 0;
        sigwait(&sinais, &sinal);
        if (sinal == SIGUSR1)
            retransmissor.setAtraso(atraso);
        else if (sinal == SIGUSR2)
            retransmissor.setAtraso(std::chrono::milliseconds(0));
        else
            return 0;
    }
}
