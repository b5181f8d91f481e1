#pragma once

// Network stand-ins for a database server that fails: a relay to the local
// server that can be switched off and on, and a port that never answers.

#include <atomic>
#include <chrono>
#include <thread>

// Relays a loopback port to the local database server. Switched off, it cuts
// every connection through it and nothing listens on its port, as when the
// server stops; switched on again, the same port reaches the server.
class Retransmissor {
public:
    explicit Retransmissor(int portaServidor = 3050);
    ~Retransmissor();
    Retransmissor(const Retransmissor&) = delete;
    Retransmissor& operator=(const Retransmissor&) = delete;

    int porta() const { return FPorta; }
    void ligar();
    void desligar();
    // Everything passes this much later, as over a slow network.
    void setAtraso(std::chrono::milliseconds atraso) { FAtraso = atraso.count(); }
    // Silent, it keeps every connection open and passes nothing, as a
    // network that stops answering; what was held back passes once it
    // speaks again.
    void setMudo(bool mudo) { FMudo = mudo; }
    // Connections taken so far, silent or not.
    int conexoes() const { return FConexoes; }

private:
    void Retransmitir(int escuta);

    std::atomic<long long> FAtraso = 0;
    std::atomic<bool> FMudo = false;
    std::atomic<int> FConexoes = 0;
    int FPortaServidor;
    int FPorta = 0;
    int FAviso[2] = {-1, -1}; // wakes the relay's thread to stop
    std::thread FLinha;
};

// A port that takes connections (the system completes them) and never
// answers, like a stalled server.
class PortaMuda {
public:
    PortaMuda();
    ~PortaMuda();
    PortaMuda(const PortaMuda&) = delete;
    PortaMuda& operator=(const PortaMuda&) = delete;

    int porta() const { return FPorta; }
    // Connections made so far; takes them.
    int conexoesRecebidas();

private:
    int FEscuta = -1;
    int FPorta = 0;
};
