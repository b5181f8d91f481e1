#include "tests/support/rede_teste.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

sockaddr_in Loopback(int porta)
{
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    endereco.sin_port = htons(static_cast<uint16_t>(porta));
    return endereco;
}

// Listens on the port (any free one for 0); returns the socket and sets the
// port taken.
int Escutar(int& porta)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int sim = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in endereco = Loopback(porta);
    socklen_t tamanho = sizeof endereco;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0
        || listen(fd, 16) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error("no listening socket on the loopback");
    }
    porta = ntohs(endereco.sin_port);
    return fd;
}

int Conectar(int porta)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in endereco = Loopback(porta);
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

bool EscreverTudo(int fd, const char* dados, ssize_t tamanho)
{
    while (tamanho > 0) {
        const ssize_t n = send(fd, dados, static_cast<size_t>(tamanho), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        dados += n;
        tamanho -= n;
    }
    return true;
}

} // namespace

Retransmissor::Retransmissor(int portaServidor) : FPortaServidor(portaServidor)
{
    ligar();
}

Retransmissor::~Retransmissor()
{
    desligar();
}

void Retransmissor::ligar()
{
    if (FLinha.joinable())
        return;
    const int escuta = Escutar(FPorta);
    if (pipe2(FAviso, O_CLOEXEC) != 0) {
        close(escuta);
        throw std::runtime_error("no pipe");
    }
    FLinha = std::thread([this, escuta] { Retransmitir(escuta); });
}

void Retransmissor::desligar()
{
    if (!FLinha.joinable())
        return;
    const char fim = 0;
    (void)!write(FAviso[1], &fim, 1);
    FLinha.join();
    close(FAviso[0]);
    close(FAviso[1]);
}

void Retransmissor::Retransmitir(int escuta)
{
    using TRelogio = std::chrono::steady_clock;
    struct Pendente {
        int destino;
        TRelogio::time_point quando;
        std::string dados;
    };
    std::map<int, int> outraPonta; // each socket to its partner, both ways
    std::deque<Pendente> pendentes; // in the order they came
    const auto fechar = [&](int fd) {
        const int par = outraPonta[fd];
        outraPonta.erase(fd);
        outraPonta.erase(par);
        std::erase_if(pendentes,
                      [&](const Pendente& p) { return p.destino == fd || p.destino == par; });
        close(fd);
        close(par);
    };
    for (;;) {
        const bool mudo = FMudo;
        // Due data goes out first, unless the network is silent.
        while (!mudo && !pendentes.empty() && pendentes.front().quando <= TRelogio::now()) {
            const Pendente p = std::move(pendentes.front());
            pendentes.pop_front();
            if (outraPonta.count(p.destino)
                && !EscreverTudo(p.destino, p.dados.data(), ssize_t(p.dados.size())))
                fechar(p.destino);
        }
        std::vector<pollfd> espera{{FAviso[0], POLLIN, 0}, {escuta, POLLIN, 0}};
        if (!mudo)
            for (const auto& [fd, par] : outraPonta)
                espera.push_back({fd, POLLIN, 0});
        // Wakes for the next due data and to see a change of silence.
        int ms = 50;
        if (!mudo && !pendentes.empty())
            ms = int(std::clamp<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               pendentes.front().quando - TRelogio::now())
                                               .count(),
                                           0, 50));
        if (poll(espera.data(), espera.size(), ms) < 0 && errno != EINTR)
            break;
        if (espera[0].revents)
            break;
        if (espera[1].revents & POLLIN) {
            const int cliente = accept4(escuta, nullptr, nullptr, SOCK_CLOEXEC);
            if (cliente >= 0) {
                ++FConexoes;
                const int servidor = Conectar(FPortaServidor);
                if (servidor < 0) {
                    close(cliente);
                } else {
                    outraPonta[cliente] = servidor;
                    outraPonta[servidor] = cliente;
                }
            }
        }
        for (std::size_t i = 2; i < espera.size(); ++i) {
            const int fd = espera[i].fd;
            if (!espera[i].revents || !outraPonta.count(fd))
                continue;
            char dados[65536];
            const ssize_t n = recv(fd, dados, sizeof dados, 0);
            if (n <= 0) {
                fechar(fd);
                continue;
            }
            pendentes.push_back({outraPonta[fd],
                                 TRelogio::now() + std::chrono::milliseconds(FAtraso.load()),
                                 std::string(dados, std::size_t(n))});
        }
    }
    while (!outraPonta.empty())
        fechar(outraPonta.begin()->first);
    close(escuta);
}

PortaMuda::PortaMuda()
{
    FEscuta = Escutar(FPorta);
    fcntl(FEscuta, F_SETFL, O_NONBLOCK);
}

PortaMuda::~PortaMuda()
{
    close(FEscuta);
}

int PortaMuda::conexoesRecebidas()
{
    int n = 0;
    for (int c; (c = accept(FEscuta, nullptr, nullptr)) >= 0; ++n)
        close(c);
    return n;
}
